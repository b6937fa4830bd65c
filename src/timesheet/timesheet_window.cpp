#include "timesheet_window.h"

#include "controls.h"
#include "data_module.h"
#include "database_error.h"
#include "handler_guard.h"
#include "month_lock_view.h"
#include "seams.h"
#include "reports/dataset_rows.h"
#include "timesheet_export.h"
#include "timesheet_layout.h"
#include "timesheet_rebuild.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TForm19* Form19 = nullptr;

namespace {

const QColor kWeekendColor(255, 0, 0);
const QColor kSilverColor(192, 192, 192);
const QColor kOvertimeBackground(192, 220, 192);
const QColor kTotalBackground(225, 228, 255);

// Grid columns: the name first, then d1 … d31, then the total.
constexpr int kFirstDayColumn = 1;
constexpr int kTotalColumn = kFirstDayColumn + 31;
constexpr int kFirstYear = 2007;
constexpr int kDayColumnWidth = 20;

const QStringList kMonths{QStringLiteral("Январь"),  QStringLiteral("Февраль"), QStringLiteral("Март"),
                          QStringLiteral("Апрель"),  QStringLiteral("Май"),     QStringLiteral("Июнь"),
                          QStringLiteral("Июль"),    QStringLiteral("Август"),  QStringLiteral("Сентябрь"),
                          QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"),  QStringLiteral("Декабрь")};

DataGrid* makeGrid(QWidget* parent, const char* name, int shift)
{
    auto* grid = new DataGrid(parent);
    grid->setObjectName(QLatin1String(name));
    // Day columns are narrower than a header section may be by default.
    grid->horizontalHeader()->setMinimumSectionSize(kDayColumnWidth);
    grid->bind(DataModule6->timesheetQuery(shift), timesheetColumns(shift));
    return grid;
}

const Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

GridColumn gridColumn(const QString& field, const QString& title, int width,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    GridColumn column;
    column.field = field;
    column.title = title;
    column.width = width;
    column.alignment = alignment;
    return column;
}

// The month's pay, as money is shown.
GridColumn payColumn(const QString& field, const QString& title)
{
    GridColumn column = gridColumn(field, title, 0, kNumberAlignment);
    column.money = true;
    return column;
}

QColor dayTitleColor(const DayColumn& day)
{
    if (day.pastMonthEnd)
        return kSilverColor;
    return day.weekend ? kWeekendColor : QColor();
}

}  // namespace

MonthDays monthDays(int month, int year)
{
    MonthDays days{};
    const QDate first(year, month, 1);
    for (int day = 1; day <= 31; ++day) {
        days[size_t(day - 1)].pastMonthEnd = day > first.daysInMonth();
        days[size_t(day - 1)].weekend = day <= first.daysInMonth() && first.addDays(day - 1).dayOfWeek() >= Qt::Saturday;
    }
    return days;
}

void styleDayCell(const DayColumn& day, const std::optional<QString>& value, CellLook& look)
{
    if (day.pastMonthEnd) {
        // Drawn in the cell's own background colour, so it does not show.
        look.text = QPalette().color(QPalette::Base);
        return;
    }
    if (day.weekend)
        look.text = kWeekendColor;
    const int hours = value ? value->toInt() : 0;
    if (hours == 0 && !day.weekend)
        look.text = kSilverColor;
    else if (hours >= 8)
        look.bold = true;
    if (hours > 8)
        look.background = kOvertimeBackground;
}

std::vector<GridColumn> timesheetColumns(int shift)
{
    std::vector<GridColumn> columns{gridColumn(QStringLiteral("fio"), QStringLiteral("Фамилия И. О."), 208)};
    for (int day = 1; day <= 31; ++day)
        columns.push_back(gridColumn(QStringLiteral("d%1").arg(day), QString::number(day), kDayColumnWidth, Qt::AlignCenter));
    columns.push_back(gridColumn(QStringLiteral("summ"), QStringLiteral("Итого"), 47, Qt::AlignCenter));
    if (shift == 1) {
        columns.push_back(payColumn(QStringLiteral("average_price"), QStringLiteral("Ср. сдел.")));
        columns.push_back(payColumn(QStringLiteral("cena_all"), QStringLiteral("Цена всего")));
    }
    return columns;
}

TForm19::TForm19(QWidget* parent) : QDialog(parent), dt(DataModule6->ADO_DB, timesheet_rebuild::dayQuery())
{
    setObjectName(QStringLiteral("Form19"));
    setWindowTitle(QStringLiteral("Табель по времени"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    dt.setObjectName(QStringLiteral("dt"));
    buildControls();
    connectHandlers();
}

QWidget* TForm19::buildFirstTab()
{
    TabSheet1 = new QWidget;
    DBGrid1 = makeGrid(TabSheet1, "DBGrid1", 1);
    Button1 = makeButton(TabSheet1, "Button1", QStringLiteral("Перестроить"));
    PB = new QProgressBar(TabSheet1);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setMinimum(1);
    PB->setVisible(false);
    Button2 = makeButton(TabSheet1, "Button2", QStringLiteral("Excel"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1);
    bottom->addWidget(PB, 1);
    bottom->addStretch();
    bottom->addWidget(Button2);
    auto* layout = new QVBoxLayout(TabSheet1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
    return TabSheet1;
}

void TForm19::buildControls()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildFirstTab(), QStringLiteral("Смена №1"));
    TabSheet2 = new QWidget;
    DBGrid2 = makeGrid(TabSheet2, "DBGrid2", 2);
    (new QVBoxLayout(TabSheet2))->addWidget(DBGrid2);
    PageControl1->addTab(TabSheet2, QStringLiteral("Смена №2"));
    TabSheet3 = new QWidget;
    DBGrid3 = makeGrid(TabSheet3, "DBGrid3", 3);
    (new QVBoxLayout(TabSheet3))->addWidget(DBGrid3);
    PageControl1->addTab(TabSheet3, QStringLiteral("Смена №3"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems(kMonths);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    // Every year from the first of the journal to the next one: the journal takes record
    // dates up to the end of next year, so every record's month can be shown.
    for (int year = kFirstYear; year <= seams::today().year() + 1; ++year)
        ComboBox2->addItem(QString::number(year));
    Button5 = makeButton(this, "Button5", QStringLiteral("Обновить"));
    Button6 = makeButton(this, "Button6", QStringLiteral("Печать"));
    Button4 = makeButton(this, "Button4", QStringLiteral("Выход"));
    Button7 = makeButton(this, "Button7", QStringLiteral("Закрыть месяц"));
    Button8 = makeButton(this, "Button8", QStringLiteral("Открыть месяц"));
    Button7->hide();
    Button8->hide();
    MonthLock = new MonthLockView(this, {Button1, Button7});
    MonthLock->addReopeningControl(Button8);

    auto* top = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox1, ComboBox2, Button5, Button6, Button7, Button8,
                                                      MonthLock->line()})
        top->addWidget(w);
    top->addStretch();
    top->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    setFixedSize(1120, 560);
}

void TForm19::connectHandlers()
{
    for (DataGrid* grid : {DBGrid1, DBGrid2, DBGrid3})
        grid->setCellStyler([this](const CellContext& cell, CellLook& look) { DBGrid1DrawColumnCell(cell, look); });
    // A selector reloads when the user picks an entry; setting it from code does not.
    connectHandler(ComboBox1, &QComboBox::activated, this, &TForm19::ComboBox1Change);
    connectHandler(ComboBox2, &QComboBox::activated, this, &TForm19::ComboBox1Change);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm19::Button5Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm19::Button1Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm19::Button4Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm19::Button6Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm19::Button2Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm19::Button7Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm19::Button8Click);
}

DataGrid* TForm19::shiftGrid(int shift) const
{
    switch (shift) {
    case 2:
        return DBGrid2;
    case 3:
        return DBGrid3;
    default:
        return DBGrid1;
    }
}

int TForm19::selectedMonth() const { return ComboBox1->currentIndex() + 1; }

int TForm19::selectedYear() const { return ComboBox2->currentText().toInt(); }

void TForm19::paintDayTitles(DataGrid* grid)
{
    for (int day = 1; day <= 31; ++day)
        grid->datasetModel()->setTitleColor(kFirstDayColumn + day - 1, dayTitleColor(days_[size_t(day - 1)]));
    grid->viewport()->update();
}

void TForm19::ComboBox1Change()
{
    const int month = selectedMonth();
    const int year = selectedYear();
    const QDate first(year, month, 1);
    days_ = monthDays(month, year);
    // Every grid leaves the old month before any opens the new one: when an opening fails,
    // that grid and the ones after it stay empty instead of showing the old month, and
    // "Обновить" reads the month the selectors show.
    for (int shift = 1; shift <= 3; ++shift) {
        Dataset& query = DataModule6->timesheetQuery(shift);
        query.close();
        query.setParam(QStringLiteral("mnth"), month);
        query.setParam(QStringLiteral("yea"), year);
        query.setParam(QStringLiteral("date1"), first);
        query.setParam(QStringLiteral("date2"), first.addMonths(1));
    }
    showMonthLock();
    for (int shift = 1; shift <= 3; ++shift) {
        DataModule6->timesheetQuery(shift).open();
        paintDayTitles(shiftGrid(shift));
    }
}

void TForm19::DBGrid1DrawColumnCell(const CellContext& cell, CellLook& look) const
{
    // The total's look belongs to its column and stays on the selected row; the day
    // colouring leaves the selected row to the highlight.
    if (cell.column == kTotalColumn) {
        look.bold = true;
        look.background = kTotalBackground;
    } else if (!cell.selected && cell.column >= kFirstDayColumn && cell.column < kTotalColumn) {
        styleDayCell(days_[size_t(cell.column - kFirstDayColumn)], cell.value, look);
    }
}

void TForm19::reopenTimesheetQueries()
{
    for (int shift = 1; shift <= 3; ++shift)
        DataModule6->timesheetQuery(shift).open();
}

void TForm19::Button5Click()
{
    for (int shift = 1; shift <= 3; ++shift)
        DataModule6->timesheetQuery(shift).close();
    reopenTimesheetQueries();
}

void TForm19::FormActivate() { Button2->setText(QStringLiteral("Excel")); }

void TForm19::Button1Click()
{
    const int month = selectedMonth();
    const int year = selectedYear();
    for (int shift = 1; shift <= 3; ++shift)
        DataModule6->timesheetQuery(shift).close();
    dt.close();

    PB->setVisible(true);
    PB->setMaximum(QDate(year, month, 1).daysInMonth());
    PB->setValue(1);
    // The bar goes away whether the rebuild ends or fails; after a failure the month is as
    // it was, and the grids show it again once the month is loaded.
    struct HideBar {
        QProgressBar* bar;
        ~HideBar() { bar->setVisible(false); }
    } hideBar{PB};
    // The grids show the month again whether the rebuild ends or fails; when reading them
    // fails as well, the rebuild's failure is the one the user is told.
    try {
        timesheet_rebuild::rebuildMonth(*DataModule6, dt, month, year, [this](int day) { PB->setValue(day); });
    } catch (...) {
        try {
            reopenTimesheetQueries();
        } catch (const DatabaseError&) {  // the grids stay empty; the rebuild's failure is told
        }
        throw;
    }
    reopenTimesheetQueries();
}

void TForm19::Button4Click() { QDialog::reject(); }

void TForm19::offerMonthClosing()
{
    Button7->setVisible(DataModule6->MonthLockInstalled);
    Button8->setVisible(DataModule6->MonthLockInstalled);
}

void TForm19::showMonthLock() { MonthLock->show(DataModule6->ClosedMonthOf(QDate(selectedYear(), selectedMonth(), 1))); }

// Whether the timesheet is current cannot be told from the database (the journal keeps no
// time of the hours' last change), so the rebuild is always offered; "Нет" closes the month
// as the timesheet stands.
void TForm19::Button7Click()
{
    const QString month = month_lock::monthName(selectedYear(), selectedMonth());
    if (!seams::messageBoxes().confirm(this,
                                       QStringLiteral("Закрыть месяц %1? Журнал, табель и хоз. работы месяца нельзя "
                                                      "будет изменить, пока месяц не откроют снова.")
                                           .arg(month),
                                       QStringLiteral("Закрыть месяц")))
        return;
    if (seams::messageBoxes().confirm(this, QStringLiteral("Перестроить табель за %1 перед закрытием?").arg(month),
                                      QStringLiteral("Закрыть месяц")))
        Button1Click();
    month_lock::close(DataModule6->ADO_DB, selectedYear(), selectedMonth());
    showMonthLock();
}

void TForm19::Button8Click()
{
    const QString month = month_lock::monthName(selectedYear(), selectedMonth());
    if (!seams::messageBoxes().confirm(
            this, QStringLiteral("Открыть месяц %1? Его журнал, табель и хоз. работы снова можно будет изменять.").arg(month),
            QStringLiteral("Открыть месяц")))
        return;
    month_lock::open(DataModule6->ADO_DB, selectedYear(), selectedMonth());
    showMonthLock();
}

QString TForm19::monthTitle() const { return ComboBox1->currentText() + QLatin1Char(' ') + ComboBox2->currentText(); }

void TForm19::Button6Click()
{
    Form15->openMonth(selectedMonth(), selectedYear());
    const CloseOnExit closing{Form15->H_Tabel};
    const QString title = monthTitle() + QStringLiteral(" г.");
    Form15->Report.setText(QStringLiteral("title"), title);
    Form15->Report.setTitle(QStringLiteral("Табель по времени, ") + title);
    previewDataset(Form15->Report, Form15->H_Tabel, this);
}

void TForm19::Button2Click()
{
    // The window repaints and answers the mouse while the rows are written; a second
    // export, a print or a rebuild of the month waits until it is done.
    const DisabledWhileBusy busy{Button1, Button2, Button5, Button6};
    const WaitCursor hourglass;
    Form15->openMonth(selectedMonth(), selectedYear());
    // Closed on every path, a failed opening of the workbook included, so the next print
    // or export reads the month then selected.
    const CloseOnExit closing{Form15->H_Tabel};
    exportTimesheet(Form15->H_Tabel, excel_, monthTitle(), [this](int written, int total) {
        Button2->setText(QStringLiteral("Excel (%1 из %2)").arg(written).arg(total));
        QApplication::processEvents();
    });
}

void TForm19::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    runHandler([this] { FormActivate(); }, this);
}

// The window is activated again when the user comes back to it from another one.
void TForm19::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        runHandler([this] { FormActivate(); }, this);
}

void TForm19::reject() { Button4->click(); }
