#include "household_window.h"

#include "controls.h"
#include "data_grid.h"
#include "data_module.h"
#include "database_error.h"
#include "date_box.h"
#include "handler_guard.h"
#include "household_editor.h"
#include "household_entries.h"
#include "month_lock_view.h"
#include "seams.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

TForm25* Form25 = nullptr;

namespace {

// Besides the listed columns it reads each entry's row version (xmin, as text, which
// "distinct" can compare), so that a change or deletion touches only the entry as it was read.
QString fatigueSql()
{
    return QStringList{
        QStringLiteral("select distinct vo.vid, p.fio, i.s_caption, (f.cnt*f.price) as summ,  f.*, f.xmin::text as xmin "),
        QStringLiteral("from accounts_dep.fatigue f, cmn_classifier.item i, accounts_dep.person p,accounts_dep.vid_oper vo, accounts_dep.oper o "),
        QStringLiteral("where f.id_nom =i.id and p.id=f.id_p and vo.id = f.id_o and o.i_id >=7777 and o.vid >=7777 and f.d_date = :d_date"),
        QStringLiteral("order by p.fio")}
        .join(QLatin1Char('\n'));
}

std::vector<GridColumn> fatigueColumns()
{
    return {
        {QStringLiteral("fio"), QStringLiteral("ФИО"), 220},
        {QStringLiteral("s_caption"), QStringLiteral("Номенклатура"), 200},
        {QStringLiteral("vid"), QStringLiteral("Работа"), 190},
        {QStringLiteral("price"), QStringLiteral("Цена"), 70},
        {QStringLiteral("cnt"), QStringLiteral("Кол-во"), 60},
        {QStringLiteral("summ"), QStringLiteral("Итого"), 80},
    };
}

}  // namespace

TForm25::TForm25(QWidget* parent) : QDialog(parent), fatigue(DataModule6->ADO_DB, fatigueSql(), this)
{
    setObjectName(QStringLiteral("Form25"));
    setWindowTitle(QStringLiteral("Хоз. работы (25)"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    fatigue.setObjectName(QStringLiteral("fatigue"));
    buildControls();
    setFixedSize(880, 480);
    centreOnDesktop(*this);

    // A typed date counts once it is complete (Enter or leaving the box), a chosen one at once.
    connectHandler(DTPcker1, &QDateEdit::dateChanged, this, &TForm25::DTPcker1Change);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm25::Button5Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm25::Button6Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm25::Button7Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm25::Button8Click);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] { runHandler([this] { DBGrid1DblClick(); }, this); });
}

void TForm25::buildControls()
{
    DTPcker1 = new DateBox(this, "DTPcker1");
    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->bind(fatigue, fatigueColumns());
    Button5 = makeButton(this, "Button5", QStringLiteral("Добавить"));
    Button6 = makeButton(this, "Button6", QStringLiteral("Изменить"));
    Button7 = makeButton(this, "Button7", QStringLiteral("Удалить"));
    Button8 = makeButton(this, "Button8", QStringLiteral("Выход"));
    MonthLock = new MonthLockView(this, {Button5, Button6, Button7});

    auto* top = new QHBoxLayout;
    top->addWidget(DTPcker1);
    top->addWidget(MonthLock->line());
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    for (QWidget* button : std::initializer_list<QWidget*>{Button5, Button6, Button7})
        bottom->addWidget(button);
    bottom->addStretch();
    bottom->addWidget(Button8);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
}

// Opened from the journal, the window starts on today's date; coming back to it from its
// editor or a message leaves it on the date the user chose.
void TForm25::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        runHandler([this] { FormActivate(); }, this);
}

void TForm25::reject() { Button8->click(); }

void TForm25::FormActivate()
{
    {
        const QSignalBlocker quiet(DTPcker1);
        DTPcker1->setDate(seams::today());
    }
    // New entries go to shift 1; the list shows every shift of the date.
    fatigue.setFiltered(false);
    fatigue.setFilter(QStringLiteral("i_smena=1"));
    openDate();
    EntryShift = 1;
    DBGrid1->setFocus();
}

void TForm25::openDate()
{
    fatigue.close();
    fatigue.setParam(QStringLiteral("d_date"), DTPcker1->date());
    MonthLock->show(DataModule6->ClosedMonthOf(DTPcker1->date()));
    fatigue.open();
}

void TForm25::DTPcker1Change() { openDate(); }

void TForm25::Button5Click()
{
    if (Form24->showToAdd(DTPcker1->date(), EntryShift))
        fatigue.refresh();
}

// An empty list has no entry to change: the editor's save would update nothing.
void TForm25::Button6Click()
{
    if (fatigue.isEmpty())
        return;
    if (Form24->showToChange(fatigue))
        fatigue.refresh(QStringLiteral("id"));
}

// A closed month's entries open no editor, as "Изменить" is disabled over them.
void TForm25::DBGrid1DblClick()
{
    if (Button6->isEnabled())
        Button6Click();
}

void TForm25::Button7Click()
{
    if (fatigue.isEmpty())
        return;
    if (!seams::messageBoxes().confirm(this, QStringLiteral("Удалить позицию из списка?"), QStringLiteral("Удаление")))
        return;
    const bool deleted = household_entries::remove(*DataModule6, fatigue.fieldByName(QStringLiteral("id")).asLargeInt(),
                                                   fatigue.fieldByName(QStringLiteral("xmin")).asString());
    fatigue.refresh();
    if (!deleted)
        throw StaleRecordError();
}

void TForm25::Button8Click() { QDialog::reject(); }
