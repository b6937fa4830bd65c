#include "household_editor.h"

#include "controls.h"
#include "data_module.h"
#include "date_box.h"
#include "field_box.h"
#include "handler_guard.h"
#include "household_entries.h"
#include "input_rules.h"
#include "lookup_combo_box.h"
#include "seams.h"
#include "sql_text.h"
#include "write_statements.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

TForm24* Form24 = nullptr;

namespace {

constexpr qint64 kHouseholdWorks = 7777;

// Whole hours of one entry; a day's hours of a worker cannot exceed them either.
const InputRule kHours
    = InputRule::wholeNumber(QStringLiteral("Кол-во"), 1, household_entries::kMaxDayHours, QStringLiteral("часов"));
// The hours the amount is shown for: those a save takes, and the 0 a new entry starts with.
const InputRule kShownHours = InputRule::wholeNumber(QStringLiteral("Кол-во"), 0, household_entries::kMaxDayHours);

// No count at all: nothing typed, or a whole number of 0 or less.
bool noHours(const QString& typed)
{
    static const QRegularExpression zeroOrLess(QStringLiteral("^\\s*(-[0-9]+|[-+]?0+)?\\s*$"));
    return zeroOrLess.match(typed).hasMatch();
}

QString typeWorkSql()
{
    return QStringList{
        QStringLiteral("select vo.id, vo.vid, n.price, (n.price*:cnt) as summ from accounts_dep.vid_oper vo,accounts_dep.norm n, accounts_dep.oper o "),
        QStringLiteral("where n.o_id =o.id and o.vid=vo.id and (vo.id = 7777 or vo.id = 7778)")}
        .join(QLatin1Char('\n'));
}


}  // namespace

TForm24::TForm24(QWidget* parent)
    : EditorDialog("Form24", QStringLiteral("Закрыто мастером"), CancelButton{"Button6", QStringLiteral("Выход")}, parent),
      type_work(DataModule6->ADO_DB, typeWorkSql(), this)
{
    setWindowTitle(QStringLiteral("Хоз. работы/среднесдельная (24)"));
    type_work.setObjectName(QStringLiteral("type_work"));
    Button6 = Button2;
    buildControls();
    layOutControls();
    setFocusOnShow(Button3);

    connectHandler(Button3, &QPushButton::clicked, this, &TForm24::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm24::Button4Click);
    connectHandler(Edit6, &QLineEdit::textChanged, this, &TForm24::Edit6Change);
    // Any choice of the user's: the mouse, the arrow keys or the wheel.
    connectHandler(cb_type_work, &QComboBox::activated, this, &TForm24::cb_type_workChange);
}

void TForm24::buildControls()
{
    Edit1 = makeEdit(this, "Edit1", true);
    Button3 = makeButton(this, "Button3", QStringLiteral("..."));
    Edit2 = makeEdit(this, "Edit2", true);
    Button4 = makeButton(this, "Button4", QStringLiteral("..."));
    cb_type_work = new LookupComboBox(type_work, QStringLiteral("id"), QStringLiteral("vid"), this);
    cb_type_work->setObjectName(QStringLiteral("cb_type_work"));
    Edit6 = makeEdit(this, "Edit6");
    // The box shows what was typed; the save checks it.
    kHours.prepare(Edit6);
    selectTextOnFocus(Edit6);
    Edit6->setText(QStringLiteral("0"));
    Label1 = makeLabel(this, "Label1", QStringLiteral("ч.    Цена"), nullptr);
    DBEdit1 = new FieldBox(type_work, QStringLiteral("price"), this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("р.    Сумма"), nullptr);
    DBEdit2 = new FieldBox(type_work, QStringLiteral("summ"), this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    for (QWidget* box : std::initializer_list<QWidget*>{Edit6, DBEdit1, DBEdit2})
        box->setFixedWidth(90);
    DBEdit1->setEnabled(false);
    DBEdit2->setEnabled(false);
}

void TForm24::layOutControls()
{
    addField(QStringLiteral("ФИО"), fieldRow(this, {Edit1, Button3}));
    addField(QStringLiteral("Номенклатура"), fieldRow(this, {Edit2, Button4}));
    addField(QStringLiteral("Работа"), cb_type_work);
    addField(QStringLiteral("Кол-во"), fieldRow(this, {Edit6, Label1, DBEdit1, Label2, DBEdit2}));
    GroupBox1->setMinimumWidth(520);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    centreOnDesktop(*this);
}

bool TForm24::showToAdd(const QDate& date, int shift)
{
    EntryDate = date;
    shift_ = shift;
    Edit1->clear();
    Edit2->clear();
    NomId = 0;
    WorkerId = 0;
    prepare(0, QStringLiteral("0"), kHouseholdWorks);
    return showAndClose();
}

bool TForm24::showToChange(const Dataset& entry)
{
    Edit1->setText(entry.fieldByName(QStringLiteral("fio")).asString().trimmed());
    Edit2->setText(entry.fieldByName(QStringLiteral("s_caption")).asString());
    NomId = entry.fieldByName(QStringLiteral("id_nom")).asLargeInt();
    WorkerId = entry.fieldByName(QStringLiteral("id_p")).asInteger();
    EntryId = entry.fieldByName(QStringLiteral("id")).asLargeInt();
    EntryVersion = entry.fieldByName(QStringLiteral("xmin")).asString();
    EntryDate = entry.fieldByName(QStringLiteral("d_date")).asDate();
    prepare(1, entry.fieldByName(QStringLiteral("cnt")).asString().trimmed(), entry.fieldByName(QStringLiteral("id_o")).asLargeInt());
    return showAndClose();
}

// The kinds are read with the hours the box shows, and the box's kind is the current row.
void TForm24::prepare(int tag, const QString& hours, qint64 workKind)
{
    Tag = tag;
    {
        const QSignalBlocker quiet(Edit6);
        Edit6->setText(hours);
    }
    Edit6Change();  // reads the kinds with these hours
    type_work.open();  // still closed when the entry had no hours
    cb_type_work->fill();
    cb_type_work->setKeyValue(workKind);
    cb_type_workChange();
}

bool TForm24::showAndClose()
{
    reRead_ = false;
    seams::showModal(*this);
    type_work.close();
    return reRead_;
}

void TForm24::Button3Click()
{
    if (pickWorker)
        pickWorker();
}

void TForm24::Button4Click()
{
    if (pickNomenclature)
        pickNomenclature();
}

// The amount follows every keystroke: the kinds are read again with the typed hours and
// the same row stays current. Hours that cannot be saved show no amount.
void TForm24::Edit6Change()
{
    if (Edit6->text().isEmpty())
        return;
    const CheckedInput hours = kShownHours.check(Edit6->text());
    type_work.setParam(QStringLiteral("cnt"), hours.accepted() ? QVariant(hours.value.toInt()) : QVariant());
    type_work.refresh();
}

// The price shown is that of the first row of the chosen kind.
void TForm24::cb_type_workChange()
{
    const qint64 kind = cb_type_work->keyValue();
    if (kind != 0 && type_work.isOpen())
        type_work.locate(QStringLiteral("id"), kind);
}

bool TForm24::validate()
{
    // Without a kind there is no price to write either.
    if (NomId == 0 || WorkerId == 0 || cb_type_work->keyValue() == 0 || type_work.isEmpty()
        || type_work.fieldByName(QStringLiteral("price")).isNull()) {
        refuse(QStringLiteral("Все поля должны быть заполнены!"));
        return false;
    }
    if (noHours(Edit6->text())) {
        refuse(QStringLiteral("Нужно завести количество!"));
        return false;
    }
    return true;  // other hours that are no whole number of 1 to 24 the rule refuses by name
}

void TForm24::Button1Click()
{
    if (!validate())
        return;
    const QString hours = kHours.valueOf(Edit6);
    Command& statement = DataModule6->SQL_exec;
    prepareStatement(statement, hours);
    const household_entries::Outcome outcome
        = household_entries::save(*DataModule6, statement, {WorkerId, NomId, EntryDate});
    if (outcome == household_entries::Outcome::Changed) {
        // What the dialog shows is no longer the entry; the list shows it as it is now.
        reRead_ = true;
        refuse(household_entries::refusalMessage(outcome));
        reject();
        return;
    }
    if (outcome != household_entries::Outcome::Saved) {
        refuse(household_entries::refusalMessage(outcome));
        return;
    }
    reRead_ = true;
    accept();
}

// The stored price of the chosen row: a full stop whatever the user's decimal separator.
QString TForm24::priceText() const { return type_work.fieldByName(QStringLiteral("price")).asString().trimmed(); }

// A change keeps the entry's date and shift, and is written only over the entry as it
// was read. A new entry's date goes in through to_date, which the server reads the same
// under any date style.
void TForm24::prepareStatement(Command& statement, const QString& hours) const
{
    if (adding()) {
        statement.setSql(fatigue_sql::insert());
        statement.setParam(QStringLiteral("d_date"), sql_text::dateText(EntryDate));
        statement.setParam(QStringLiteral("i_mnth"), EntryDate.month());
        statement.setParam(QStringLiteral("i_year"), EntryDate.year());
        statement.setParam(QStringLiteral("i_smena"), shift_);
    } else {
        statement.setSql(fatigue_sql::update());
        statement.setParam(QStringLiteral("id"), EntryId);
        statement.setParam(QStringLiteral("version"), EntryVersion);
    }
    statement.setParam(QStringLiteral("id_nom"), NomId);
    statement.setParam(QStringLiteral("id_o"), cb_type_work->keyValue());
    statement.setParam(QStringLiteral("id_p"), WorkerId);
    statement.setParam(QStringLiteral("cnt"), hours);
    statement.setParam(QStringLiteral("price"), priceText());
}
