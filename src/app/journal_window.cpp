#include "journal_window.h"

#include "journal/acceptance_mark.h"
#include "controls.h"
#include "data_grid.h"
#include "data_module.h"
#include "database_error.h"
#include "date_box.h"
#include "handler_guard.h"
#include "household/household_window.h"
#include "seams.h"
#include "timesheet/timesheet_window.h"
#include "version_check.h"
#include "wait_cursor.h"
#include "reference/items_window.h"
#include "reference/kinds_window.h"
#include "reference/operations_window.h"
#include "reports/report_chooser.h"
#include "reference/workers_window.h"
#include "database_error.h"
#include "import/import_command.h"
#include "journal/history_window.h"
#include "month_lock_view.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

namespace {

const QColor kSelectedShiftColor(0, 128, 0);
const QColor kDayOffColor(255, 0, 0);

// Colours a control's face and sets its font weight; an invalid colour gives the
// standard button face back.
void paintControl(QWidget* control, const QColor& face, bool bold)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Button, face.isValid() ? face : QApplication::palette().color(QPalette::Button));
    palette.setColor(QPalette::Window, face.isValid() ? face : QApplication::palette().color(QPalette::Window));
    control->setAutoFillBackground(face.isValid());
    control->setPalette(palette);
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

bool isWeekend(const QDate& date) { return date.dayOfWeek() >= Qt::Saturday; }

}  // namespace

std::vector<GridColumn> journalColumns()
{
    const Qt::Alignment centred = Qt::AlignCenter;
    return {
        {QStringLiteral("fio"), QStringLiteral("Фамилия И.О."), 250},
        {QStringLiteral("marka"), QStringLiteral("Марка изделия"), 260},
        {QStringLiteral("vid"), QStringLiteral("Операция"), 155},
        {QStringLiteral("nmn"), QStringLiteral("Вид"), 157},
        {QStringLiteral("color"), QStringLiteral("Цвет"), 0, centred},
        {QStringLiteral("time"), QStringLiteral("Часы"), 0},
        {QStringLiteral("kol_vo"), QStringLiteral("Кол-во"), 57},
        {QStringLiteral("brak"), QStringLiteral("Брак"), 49},
        {.field = QStringLiteral("summa"), .title = QStringLiteral("Итого (р.)"), .width = 78, .money = true},
        {QStringLiteral("prize"), QStringLiteral("Премия (%)"), 0, {}, false},
        {QStringLiteral("ok"), QStringLiteral("OK"), 37, centred},
        {QStringLiteral("vvod"), QStringLiteral("Заведен"), 72, centred},
    };
}

TForm1::TForm1(QWidget* parent)
    : QDialog(parent),
      ver(DataModule6->ADO_DB, QStringLiteral("select * from accounts_dep.ver"))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Табель"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    ver.setObjectName(QStringLiteral("ver"));
    ver.setUpdateTable(QStringLiteral("accounts_dep.ver"));

    buildControls();
    buildMenu();
    connectHandlers();
    CurrentShiftQuery = &DataModule6->Smena1;
    DBGrid2->bind(DataModule6->Smena1, journalColumns());
    DBGrid2->setCellStyler(acceptance_mark::paintCell);
    paintShiftSelectors();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);
    connect(Timer1, &QTimer::timeout, this, [this] { runHandler([this] { Timer1Timer(); }, this); });
    Timer1->start();
}

void TForm1::buildControls()
{
    RadioButton1 = new QRadioButton(QStringLiteral("Смена №1"), this);
    RadioButton2 = new QRadioButton(QStringLiteral("Смена №2"), this);
    RadioButton3 = new QRadioButton(QStringLiteral("Смена №3"), this);
    RadioButton4 = new QRadioButton(QStringLiteral("Переработка"), this);
    RadioButton1->setChecked(true);
    DateT = new DateBox(this, "DateT");
    calendarPopup_ = DateT->calendarWidget()->window();
    calendarPopup_->installEventFilter(this);
    DateT->installEventFilter(this);
    CBox1 = new QCheckBox(QStringLiteral("Выходной"), this);
    DBGrid2 = new DataGrid(this);
    DBGrid2->viewport()->installEventFilter(this);

    Button1 = makeButton(this, "Button1", QStringLiteral("Добавить"));
    Button9 = makeButton(this, "Button9", QStringLiteral("Бригада"));
    Button1->installEventFilter(this);
    Button2 = makeButton(this, "Button2", QStringLiteral("Изменить"));
    Button3 = makeButton(this, "Button3", QStringLiteral("Удалить"));
    Button8 = makeButton(this, "Button8", QStringLiteral("Обновить"));
    Button5 = makeButton(this, "Button5", QStringLiteral("Хоз. работы"));
    Button4 = makeButton(this, "Button4", QStringLiteral("Выход"));
    Label1 = new QLabel(this);
    Label1->hide();
    MonthLock = new MonthLockView(this, {Button1, Button2, Button3});

    const std::pair<QWidget*, const char*> names[] = {
        {RadioButton1, "RadioButton1"}, {RadioButton2, "RadioButton2"}, {RadioButton3, "RadioButton3"},
        {RadioButton4, "RadioButton4"}, {DateT, "DateT"}, {CBox1, "CBox1"}, {DBGrid2, "DBGrid2"},
        {Label1, "Label1"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    auto* top = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, RadioButton3, RadioButton4, DateT, CBox1,
                                                      MonthLock->line()})
        top->addWidget(w);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button9, Button2, Button3, Button8, Button5, Label1})
        bottom->addWidget(w);
    bottom->addStretch();
    bottom->addWidget(Button4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(bottom);
    setFixedSize(1281, 585);
}

void TForm1::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    layout()->setMenuBar(MainMenu1);

    N2 = MainMenu1->addMenu(QStringLiteral("Справочники"));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = N2->addAction(QStringLiteral("Рабочие"));
    N4 = N2->addAction(QStringLiteral("Изделия"));
    N5 = N2->addAction(QStringLiteral("Цены"));
    N6 = N2->addAction(QStringLiteral("Операции"));
    N7 = N2->addAction(QStringLiteral("Внеурочное"));
    N11 = MainMenu1->addAction(QStringLiteral("Табель по времени"));
    N8 = MainMenu1->addMenu(QStringLiteral("Отчеты"));
    N8->setObjectName(QStringLiteral("N8"));
    N9 = N8->addAction(QStringLiteral("Сводные отчеты"));
    N10 = MainMenu1->addAction(QStringLiteral("Выход"));
    N12 = MainMenu1->addAction(QStringLiteral("Импорт"));
    N12->setVisible(false);
    N13 = MainMenu1->addAction(QStringLiteral("История записи"));
    N13->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    N13->setVisible(false);  // until the change history is found
    // The record under the mouse has its history in the grid's own menu.
    DBGrid2->setContextMenuPolicy(Qt::ActionsContextMenu);
    DBGrid2->addAction(N13);
    // A hidden action takes no shortcut; maintenance staff reach the import by this one.
    ImportShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12), this);
    ImportShortcut->setObjectName(QStringLiteral("ImportShortcut"));
    ImportShortcut->setEnabled(false);

    const std::pair<QAction*, const char*> names[] = {{N3, "N3"}, {N4, "N4"}, {N5, "N5"},   {N6, "N6"},
                                                      {N7, "N7"}, {N11, "N11"}, {N9, "N9"}, {N10, "N10"},
                                                      {N12, "N12"}, {N13, "N13"}};
    for (const auto& [action, name] : names)
        action->setObjectName(QLatin1String(name));
}

void TForm1::connectHandlers()
{
    for (int shift = 1; shift <= 4; ++shift) {
        connect(shiftSelector(shift), &QRadioButton::toggled, this, [this, shift](bool checked) {
            if (checked)
                runHandler([this, shift] { RadioButtonClick(shift); }, this);
        });
    }
    connectHandler(CBox1, &QCheckBox::toggled, this, &TForm1::CBox1Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connectHandler(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connectHandler(N10, &QAction::triggered, this, &TForm1::Button4Click);
    connectHandler(N3, &QAction::triggered, this, &TForm1::N3Click);
    connectHandler(N4, &QAction::triggered, this, &TForm1::N4Click);
    connectHandler(N5, &QAction::triggered, this, &TForm1::N5Click);
    connectHandler(N6, &QAction::triggered, this, &TForm1::N6Click);
    connectHandler(N11, &QAction::triggered, this, &TForm1::N11Click);
    connectHandler(N12, &QAction::triggered, this, &TForm1::N12Click);
    connectHandler(ImportShortcut, &QShortcut::activated, this, &TForm1::N12Click);
    connectHandler(N9, &QAction::triggered, this, &TForm1::N9Click);
    connectHandler(N13, &QAction::triggered, this, &TForm1::N13Click);
}

QRadioButton* TForm1::shiftSelector(int shift) const
{
    switch (shift) {
    case 2:
        return RadioButton2;
    case 3:
        return RadioButton3;
    case 4:
        return RadioButton4;
    default:
        return RadioButton1;
    }
}

// The journal starts on today once, when the login shows it. Restored from minimised,
// or back from another window or program, it stays as the user left it.
void TForm1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    runHandler([this] { FormActivate(); }, this);
}

void TForm1::reject() { Button4->click(); }

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The journal follows a date once it is chosen: when the calendar closes or Enter
    // is pressed, not while the user types or scrolls.
    if (watched == DateT && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // A typed date that is refused leaves the journal on the date it shows.
            if (DateT->acceptTyped())
                runHandler([this] { DateTCloseUp(); }, this);
            return true;
        }
    } else if (watched == DateT && event->type() == QEvent::FocusOut) {
        showLoadedDate(static_cast<QFocusEvent*>(event)->reason());
    } else if (watched == Button1 && event->type() == QEvent::EnabledChange) {
        followAddButton();
    } else if (watched == DBGrid2->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // Anywhere in the grid, rows or not.
        runHandler([this] { DBGrid2DblClick(); }, this);
        return true;
    } else if (watched == calendarPopup_ && event->type() == QEvent::Hide) {
        QTimer::singleShot(0, this, [this] { runHandler([this] { DateTCloseUp(); }, this); });
    }
    return QDialog::eventFilter(watched, event);
}

Dataset& TForm1::selectCurrentShiftQuery()
{
    CurrentShiftQuery = &DataModule6->shiftQuery(CurrentShift);
    return *CurrentShiftQuery;
}

void TForm1::openShiftQueries()
{
    for (int shift = 1; shift <= 4; ++shift) {
        Dataset& query = DataModule6->shiftQuery(shift);
        query.setParam(QStringLiteral("DATA"), DateT->date());
        query.open();
    }
    showMonthLock();
}

void TForm1::showMonthLock()
{
    MonthLock->show(DataModule6->ClosedMonthOf(DataModule6->Smena1.param(QStringLiteral("DATA")).toDate()));
}

void TForm1::closeShiftQueries()
{
    for (int shift = 1; shift <= 4; ++shift)
        DataModule6->shiftQuery(shift).close();
}

void TForm1::FormActivate()
{
    // The history is there when the administrator's script is (found once connected).
    N13->setVisible(DataModule6->MonthLockInstalled);
    DateT->setDate(seams::today());
    if (isWeekend(DateT->date()))
        CBox1->setChecked(true);
    for (int shift = 1; shift <= 4; ++shift) {
        Dataset& query = DataModule6->shiftQuery(shift);
        query.close();
        query.setFiltered(false);
    }
    openShiftQueries();
}

void TForm1::DateTCloseUp()
{
    WaitCursor waiting;
    closeShiftQueries();
    openShiftQueries();
    markWeekend();
    DBGrid2->setFocus();
}

// A date typed but not chosen does not stay in the box once the user moves to another
// control: the box then shows the date the journal was read for, the date "Добавить"
// then takes. Its own calendar, a menu or another window taking the focus for a while
// leave what was typed.
void TForm1::showLoadedDate(Qt::FocusReason reason)
{
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    const QDate loaded = DataModule6->Smena1.param(QStringLiteral("DATA")).toDate();
    if (loaded.isValid())
        DateT->setDate(loaded);
}

void TForm1::followAddButton() { Button9->setEnabled(Button1->isEnabled()); }

void TForm1::markWeekend() { CBox1->setChecked(isWeekend(DateT->date())); }

void TForm1::CBox1Click()
{
    paintControl(CBox1, CBox1->isChecked() ? kDayOffColor : QColor(), CBox1->isChecked());
}

void TForm1::paintShiftSelectors()
{
    for (int shift = 1; shift <= 4; ++shift) {
        const bool current = shift == CurrentShift;
        paintControl(shiftSelector(shift), current ? kSelectedShiftColor : QColor(), current);
    }
}

void TForm1::RadioButtonClick(int shift)
{
    DBGrid2->bind(DataModule6->shiftQuery(shift), journalColumns());
    CurrentShift = shift;
    paintShiftSelectors();
}

// A shift whose re-read fails keeps the records it showed until a re-read succeeds.
void TForm1::Button8Click()
{
    WaitCursor waiting;
    for (int shift = 1; shift <= 4; ++shift)
        DataModule6->shiftQuery(shift).refresh(QStringLiteral("id"));
    showMonthLock();
}

// The household journal starts on today's date whatever the journal's date.
void TForm1::Button5Click() { seams::showModal(*Form25); }

void TForm1::Button4Click() { QDialog::reject(); }

void TForm1::N3Click() { Form5->showForMaintenance(); }

void TForm1::N4Click() { Form3->showForMaintenance(); }

void TForm1::N5Click() { Form4->showForMaintenance(); }

// Maintenance always starts with every kind, whatever a picker left.
void TForm1::N6Click()
{
    DataModule6->Vid_oper.setFiltered(false);
    Form8->showForMaintenance();
}

// The timesheet opens on the month and year of the journal date. A year the list does not
// hold selects the nearest end of the list.
void TForm1::preselectTimesheetMonth()
{
    const QDate date = DateT->date();
    Form19->ComboBox1->setCurrentIndex(date.month() - 1);
    QComboBox* years = Form19->ComboBox2;
    int index = 0;
    while (index < years->count() && years->itemText(index) != QString::number(date.year()))
        ++index;
    if (index == years->count())
        index = date.year() < years->itemText(0).toInt() ? 0 : years->count() - 1;
    years->setCurrentIndex(index);
}

void TForm1::N11Click()
{
    preselectTimesheetMonth();
    Form19->ComboBox1Change();
    seams::showModal(*Form19);
    for (int shift = 1; shift <= 3; ++shift)
        DataModule6->timesheetQuery(shift).close();
}

void TForm1::N12Click() { runLegacyImport(DataModule6->ADO_DB, *this, *Label1, *Timer1); }

// The reports propose the previous calendar month of today, whatever the journal date.
void TForm1::N9Click() { Form18->showFromMenu(); }

// The current record's history; with no record the user types the number of one (a
// deleted record's number is in the report "Журнал изменений").
void TForm1::N13Click()
{
    const Dataset& journal = selectCurrentShiftQuery();
    // A restored record is in the journal of its date.
    if (Form28->showRecord(journal.isEmpty() ? 0 : journal.fieldByName(QStringLiteral("id")).asLargeInt()))
        Button8Click();
}

void TForm1::Timer1Timer()
{
    // While a check waits on a message box the timer keeps running; one box at a time.
    // Before a person has logged in there may be no connection to check yet.
    if (checkingVersion_ || !DataModule6->ADO_DB.raw())
        return;
    checkingVersion_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{checkingVersion_};
    try {
        CheckVersion();
        connectionLossShown_ = false;
    } catch (const ConnectionLostError& error) {
        // Told once while the server is away; the ticks after stay quiet until it is back.
        if (!connectionLossShown_)
            showDatabaseError(error, this);
        connectionLossShown_ = true;
    } catch (const ConnectionRestoredError&) {
        // The connection is back; the next tick checks again, nothing for the user to repeat.
    } catch (const DatabaseError& error) {
        showDatabaseError(error, this);
    }
}
