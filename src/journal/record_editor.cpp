#include "record_editor.h"

#include "controls.h"
#include "data_module.h"
#include "date_box.h"
#include "error_box.h"
#include "handler_guard.h"
#include "input_rules.h"
#include "number_text.h"
#include "operation_texts.h"
#include "record_fields.h"
#include "record_save.h"
#include "seams.h"
#include "shift_price.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TForm11* Form11 = nullptr;

using namespace record_fields;

namespace {

bool isBlank(const QLineEdit* edit) { return edit->text().trimmed().isEmpty(); }

}  // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    buildControls();
    connectHandlers();
}

void TForm11::buildControls()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Закрыто мастером"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Edit1 = makeEdit(GroupBox1, "Edit1", true);
    Button3 = makeButton(GroupBox1, "Button3", QStringLiteral("..."));
    Edit2 = makeEdit(GroupBox1, "Edit2", true);
    Button4 = makeButton(GroupBox1, "Button4", QStringLiteral("..."));
    Edit3 = makeEdit(GroupBox1, "Edit3", false);
    Edit6 = makeEdit(GroupBox1, "Edit6", false);
    Edit5 = makeEdit(GroupBox1, "Edit5", false);
    DTimeP = new DateBox(GroupBox1, "DTimeP");
    Edit4 = makeEdit(GroupBox1, "Edit4", false);
    Edit8 = makeEdit(GroupBox1, "Edit8", true);
    Edit7 = makeEdit(GroupBox1, "Edit7", true);
    Edit9 = makeEdit(GroupBox1, "Edit9", true);
    CheckBox1 = new QCheckBox(QStringLiteral("Среднесдельная"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit4->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    prepareNumberBoxes();
    createLabels();
    layOutControls();
    setFieldTabOrder();
}

// Quantity, rejects, colour and hours show what was typed; the save checks it.
void TForm11::prepareNumberBoxes()
{
    // Entered by a click as by Tab, a box's text is selected: what is typed replaces the
    // 0 instead of joining it ("08").
    for (QLineEdit* edit : {Edit3, Edit4, Edit5, Edit6}) {
        ruleOf(edit).prepare(edit);
        selectTextOnFocus(edit);
    }
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit6})
        edit->installEventFilter(this);
}

const InputRule& TForm11::ruleOf(const QLineEdit* edit) const
{
    if (edit == Edit3)
        return quantity();
    if (edit == Edit4)
        return rejects();
    return edit == Edit5 ? colour() : hours();
}

QString TForm11::typedValue(const QLineEdit* edit) const { return ruleOf(edit).valueOf(edit); }

void TForm11::createLabels()
{
    Label1 = makeLabel(GroupBox1, "Label1", QStringLiteral("ФИО"), Edit1);
    Label2 = makeLabel(GroupBox1, "Label2", QStringLiteral("Операция"), Edit2);
    Label3 = makeLabel(GroupBox1, "Label3", QStringLiteral("Кол-во"), Edit3);
    Label6 = makeLabel(GroupBox1, "Label6", QStringLiteral("Время"), Edit6);
    Label5 = makeLabel(GroupBox1, "Label5", QStringLiteral("Цвет"), Edit5);
    Label10 = makeLabel(GroupBox1, "Label10", QStringLiteral("Дата"), DTimeP);
    Label4 = makeLabel(GroupBox1, "Label4", QStringLiteral("Брак"), Edit4);
    Label8 = makeLabel(GroupBox1, "Label8", QStringLiteral("Цена база"), Edit8);
    Label7 = makeLabel(GroupBox1, "Label7", QStringLiteral("Цена итог"), Edit7);
    Label9 = makeLabel(GroupBox1, "Label9", QStringLiteral("Сумма"), Edit9);
}

void TForm11::layOutControls()
{
    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 4);
    grid->addWidget(Button3, 0, 5);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Edit2, 1, 1, 1, 4);
    grid->addWidget(Button4, 1, 5);
    const std::pair<QLabel*, QWidget*> left[] = {{Label3, Edit3}, {Label6, Edit6}, {Label5, Edit5}, {Label10, DTimeP}, {Label4, Edit4}};
    const std::pair<QLabel*, QWidget*> right[] = {{Label8, Edit8}, {Label7, Edit7}, {Label9, Edit9}};
    for (int row = 0; row < 5; ++row) {
        grid->addWidget(left[row].first, row + 2, 0);
        grid->addWidget(left[row].second, row + 2, 1);
    }
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(right[row].first, row + 2, 3);
        grid->addWidget(right[row].second, row + 2, 4, 1, 2);
    }
    grid->addWidget(CheckBox1, 6, 3, 1, 3);
    grid->setColumnMinimumWidth(2, 16);
    GroupBox1->setMinimumWidth(520);

    Button1 = makeButton(this, "Button1", QStringLiteral("Запись"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Отмена"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(rightAlignedRow({Button1, Button2}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm11::setFieldTabOrder()
{
    QWidget* const order[] = {Button3, Button4, Edit3, Edit6, Edit5, DTimeP, Edit4, CheckBox1, Button1, Button2};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TForm11::connectHandlers()
{
    connectHandler(Button3, &QPushButton::clicked, this, &TForm11::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm11::Button4Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm11::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runHandler([this] { FormActivate(); }, this);
}

void TForm11::FormActivate() { Button3->setFocus(); }

bool TForm11::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (watched == Edit1)
            runHandler([this] { Button3Click(); }, this);
        else if (watched == Edit2)
            runHandler([this] { Button4Click(); }, this);
        break;
    case QEvent::FocusOut: {
        // Leaving the field for another control of the dialog, not the dialog itself closing.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if ((watched == Edit3 || watched == Edit6) && isVisible() && reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason)
            runHandler([this] { Edit6Exit(); }, this);
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

ShownRecord shownRecordOf(const Dataset& journal)
{
    const auto field = [&](const char* name) { return journal.fieldByName(QLatin1String(name)); };
    ShownRecord shown;
    shown.id = field("id").asLargeInt();
    shown.version = field("xmin").asString();
    shown.workerId = field("w_id").asInteger();
    shown.itemId = field("i_id").asLargeInt();
    shown.operationId = field("o_id").asInteger();
    shown.worker = field("fio").asString().trimmed();
    shown.operation = operationDescription(field("marka").asString(), field("vid").asString(), field("naimen").asInteger());
    shown.quantity = field("kol_vo").asString().trimmed();
    shown.rejects = field("brak").asString().trimmed();
    shown.colour = field("color").asString().trimmed();
    shown.hours = field("time").asInteger();
    shown.price = field("cena").asFloat();
    shown.date = field("data").asDate();
    return shown;
}

RecordEditorResult TForm11::edit(const RecordEditorInput& input)
{
    input_ = input;
    result_ = {};
    if (input.changing)
        showToChange(*input.changing);
    else
        showToAdd();
    return result_;
}

void TForm11::showToAdd()
{
    DTimeP->setDate(input_.date);
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit5})
        edit->clear();
    Edit4->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    setWindowTitle(QStringLiteral("Заведение новой позиции"));
    Tag = 1;
    seams::showModal(*this);
}

void TForm11::showToChange(const ShownRecord& shown)
{
    setWindowTitle(QStringLiteral("Изменение данных о позиции"));
    Tag = 2;
    Price = shown.price;
    Edit7->setText(numberText(pay::roundPrice(Price)));
    Edit9->setText(numberText(pay::roundPrice(shown.quantity.toDouble() * Price)));
    DTimeP->setDate(shown.date);
    Edit1->setText(shown.worker);
    Edit2->setText(shown.operation);
    Edit2->home(false);
    Edit3->setText(shown.quantity);
    Edit4->setText(shown.rejects);
    WorkerId = shown.workerId;
    ItemId = shown.itemId;
    OperId = shown.operationId;
    Edit6->setText(QString::number(shown.hours));
    showBasePriceOf(shown.operationId);
    applyPaintRule();
    if (Edit5->isEnabled())
        Edit5->setText(shown.colour);
    seams::showModal(*this);
}

// The base price of the record's operation, read from the operations list filtered
// on it, which is closed again afterwards.
void TForm11::showBasePriceOf(int operationId)
{
    Dataset& oper = DataModule6->Oper;
    oper.setFilter(QStringLiteral("id=") + QString::number(operationId));
    oper.setFiltered(true);
    oper.open();
    BasePrice = oper.isEmpty() ? std::nullopt : std::optional(oper.fieldByName(QStringLiteral("cena")).asFloat());
    showBasePrice();
    oper.setFiltered(false);
    oper.close();
}

void TForm11::Button3Click()
{
    Dataset& workers = DataModule6->Workers;
    workers.open();
    if (pickWorker)
        pickWorker();
    workers.close();
}

void TForm11::Button4Click()
{
    Dataset& oper = DataModule6->Oper;
    oper.open();
    if (input_.changing)
        oper.locate(QStringLiteral("id"), input_.changing->operationId);
    else
        oper.first();
    if (pickOperation)
        pickOperation(input_.dayOff, input_.shift);
    oper.setFiltered(false);
    Edit2->home(false);  // the brand, which tells operations apart, is at the start
    applyPaintRule();
    Edit6Exit();
}

void TForm11::showBasePrice() { Edit8->setText(BasePrice ? numberText(pay::roundPrice(*BasePrice)) : QString()); }

bool TForm11::isPaintOperation() const { return record_fields::isPaintOperation(Edit2->text()); }

void TForm11::applyPaintRule()
{
    const bool paint = isPaintOperation();
    if (!paint)
        Edit5->clear();
    Edit5->setEnabled(paint);
    Label5->setEnabled(paint);
}

void TForm11::Edit6Exit()
{
    for (QLineEdit* edit : {Edit6, Edit3})
        if (isBlank(edit))
            edit->setText(QStringLiteral("0"));
    Edit7->setText(numberText(pay::roundPrice(Price)));
    showBasePrice();
    // A quantity that is no number yet shows no sum; the save tells what is wrong with it.
    const CheckedInput typed = quantity().check(Edit3->text());
    Edit9->setText(typed.accepted() ? numberText(pay::roundPrice(typed.value.toDouble() * Price)) : QString());
}

bool TForm11::requiredFieldMissing() const
{
    return isBlank(Edit1) || isBlank(Edit2) || isBlank(Edit3) || isBlank(Edit4) || (isPaintOperation() && isBlank(Edit5))
        || isBlank(Edit6);
}

bool TForm11::validate()
{
    if (requiredFieldMissing()) {
        showError(this, kAllFieldsMessage);
        return false;
    }
    const QLineEdit* numbers[] = {Edit3, Edit4, Edit5, Edit6};
    for (const QLineEdit* edit : numbers)
        if (edit->isEnabled())
            typedValue(edit);
    const QString refused = pay::refusal(record());
    if (!refused.isEmpty()) {
        showError(this, refused);
        return false;
    }
    return true;
}

void TForm11::Button1Click()
{
    if (!validate() || !DTimeP->acceptTyped())
        return;
    const pay::JournalRecord written = record();
    const record_save::Result saved = record_save::save(*DataModule6, written);
    if (saved.outcome != record_save::Outcome::Saved)
        showError(this, saved.refusal);
    if (saved.outcome == record_save::Outcome::Changed) {
        // What the dialog shows is no longer the record; the journal shows it as it is now.
        result_.reRead = true;
        reject();
        return;
    }
    if (saved.outcome != record_save::Outcome::Saved)
        return;
    result_ = {true, written};
    clearFields();
    accept();
}

// The record as the dialog shows it; a change names the record and its version as read.
pay::JournalRecord TForm11::record() const
{
    pay::JournalRecord r;
    if (input_.changing) {
        r.id = input_.changing->id;
        r.version = input_.changing->version;
    }
    r.workerId = WorkerId;
    r.itemId = ItemId;
    r.operationId = OperId;
    r.date = DTimeP->date();
    r.shift = input_.shift;
    r.colour = isBlank(Edit5) ? 0 : typedValue(Edit5).toInt();
    r.quantity = typedValue(Edit3).toLongLong();
    r.rejects = typedValue(Edit4).toInt();
    r.hours = typedValue(Edit6).toInt();
    r.price = Price;
    r.entered = seams::today();
    return r;
}

void TForm11::clearFields()
{
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9})
        edit->clear();
}
