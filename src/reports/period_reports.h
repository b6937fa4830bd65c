#pragma once

#include "period_report_window.h"

// The four printed period reports, each a window holding its query and its layout.

// "Отчет по рабочим": good quantity and pay per worker, item, operation kind and colour.
class TForm16 : public PeriodReportWindow {
public:
    explicit TForm16(QWidget* parent = nullptr);
};

// "Отчет по продукции": good quantity and mass per item, operation kind and colour.
class TForm17 : public PeriodReportWindow {
public:
    explicit TForm17(QWidget* parent = nullptr);
};

// "Детальный отчет по рабочим": gross quantity, defects and pay per worker, item brand,
// operation kind, product kind and colour.
class TForm20 : public PeriodReportWindow {
public:
    explicit TForm20(QWidget* parent = nullptr);
};

// "Детальный отчет по продукции": gross quantity, defects, mass and pay per item, brand,
// operation kind, product kind and colour.
class TForm21 : public PeriodReportWindow {
public:
    explicit TForm21(QWidget* parent = nullptr);
};

// "Журнал изменений": every change of journal records, norms, operations and household
// works in the period from the change history, field by field; only where the
// administrator's script keeps the history.
class TChangesReport : public PeriodReportWindow {
public:
    explicit TChangesReport(QWidget* parent = nullptr);
};

extern TForm16* Form16;
extern TForm17* Form17;
extern TForm20* Form20;
extern TForm21* Form21;
extern TChangesReport* ChangesReport;

// The queries' texts, for the windows and their tests.
namespace period_report_sql {
QString workerSummary();   // t_Report of Form16
QString productSummary();  // t_Report of Form17
QString workerDetail();    // w_Report of Form20
QString productDetail();   // i_Report of Form21
}  // namespace period_report_sql
