#pragma once

#include "data_grid.h"
#include "dataset.h"
#include "reports/excel_export.h"

#include <QDialog>
#include <array>

class MonthLockView;
class QComboBox;
class QProgressBar;
class QPushButton;
class QTabWidget;

// How a day column of the month is drawn.
struct DayColumn {
    bool weekend = false;
    bool pastMonthEnd = false;  // the month has no such day: the column shows nothing
};
using MonthDays = std::array<DayColumn, 31>;

// Weekends and missing days of a month, for the columns d1 … d31.
MonthDays monthDays(int month, int year);

// The look of one day cell: weekends red, 0 grey, 8 bold, more than 8 bold on light
// green, a missing value blank, nothing at all in a column past the end of the month.
void styleDayCell(const DayColumn& day, const std::optional<QString>& value, CellLook& look);

// Columns of the grid of a shift; the first shift also shows the month's pay.
std::vector<GridColumn> timesheetColumns(int shift);

// The monthly hours timesheet "Табель по времени": one grid per working shift with each
// worker's hours per day and the month's total, the pay on the first shift, and the
// rebuild of the month from the journal.
class TForm19 : public QDialog {
    Q_OBJECT
public:
    explicit TForm19(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    DataGrid* DBGrid1;
    DataGrid* DBGrid2;
    DataGrid* DBGrid3;
    QPushButton* Button1;  // "Перестроить"
    QProgressBar* PB;
    QPushButton* Button2;  // "Excel"
    QPushButton* Button6;  // "Печать"
    QComboBox* ComboBox1;  // month
    QComboBox* ComboBox2;  // year
    QPushButton* Button5;  // "Обновить"
    QPushButton* Button4;  // "Выход"
    QPushButton* Button7;  // "Закрыть месяц", full access with the closed months installed
    QPushButton* Button8;  // "Открыть месяц", likewise
    // The closed month shown; it enables the rebuild and the closing and opening.
    MonthLockView* MonthLock;

    Dataset dt;  // the journal's hours of one day, read by the rebuild

    void ComboBox1Change();
    void DBGrid1DrawColumnCell(const CellContext& cell, CellLook& look) const;
    void Button5Click();
    void FormActivate();
    void Button1Click();
    void Button4Click();
    void Button6Click();  // "Печать": the month's print preview
    void Button2Click();  // "Excel": the month into a new workbook
    void Button7Click();  // "Закрыть месяц": after a confirmation and the offer to rebuild first
    void Button8Click();  // "Открыть месяц"

    // Full access closes and opens months, where the database keeps them.
    void offerMonthClosing();

    DataGrid* shiftGrid(int shift) const;
    const MonthDays& days() const { return days_; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;  // Escape

private:
    void buildControls();
    QWidget* buildFirstTab();
    void connectHandlers();
    int selectedMonth() const;
    int selectedYear() const;
    void paintDayTitles(DataGrid* grid);
    void reopenTimesheetQueries();
    QString monthTitle() const;  // "Декабрь 2026"
    void showMonthLock();

    ExcelExport excel_{this};

    MonthDays days_{};
};

extern TForm19* Form19;
