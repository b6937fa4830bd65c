#pragma once

#include "dataset.h"
#include "report.h"

#include <QDialog>
#include <QString>

// A window that holds one printed period report: its query (parameters "data1" from,
// inclusive, and "data2" to, exclusive; the product-kind filter on naimen), its title
// label and its layout. The window is never shown itself, only its prepared report.
class PeriodReportWindow : public QDialog {
    Q_OBJECT
public:
    struct Setup {
        const char* windowName;  // "Form16"
        const char* queryName;   // "t_Report"
        QString sql;
        bool findsWorkersByPersonCode;  // the query joins ERP persons on s_code::integer
        report::ReportDefinition layout;
    };

    explicit PeriodReportWindow(Setup setup, QWidget* parent = nullptr);

    Dataset& query() { return query_; }
    bool findsWorkersByPersonCode() const { return findsWorkersByPersonCode_; }

    // The caption of the report's title label; the document is named after it.
    void setTitle(const QString& caption);
    QString title() const;

    // Prepares every page from the open query and shows them in the print preview over
    // the window that asked for the report.
    void prepareAndPreview(QWidget* over);

private:
    Dataset query_;
    bool findsWorkersByPersonCode_;
    report::Report layout_;
};
