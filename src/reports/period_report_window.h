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
        report::ReportDefinition layout;
    };

    explicit PeriodReportWindow(Setup setup, QWidget* parent = nullptr);

    Dataset& query() { return query_; }

    // The caption of the report's title label; the document is named after it.
    void setTitle(const QString& caption);
    QString title() const;

    // Shows the report of the open query in the print preview over the window that asked
    // for it; the query stays open until the preview closes.
    void prepareAndPreview(QWidget* over);

private:
    Dataset query_;
    report::Report layout_;
};
