#pragma once

#include "dataset.h"
#include "report.h"

#include <QDialog>

// The text of H_Tabel: per worker name the hours of each day of the month (sd1 … sd31),
// summed over the worker's timesheet rows of all four shifts. personCodesIndexed: see
// TDataModule6::PersonCodesIndexed.
QString timesheetPrintSql(bool personCodesIndexed);

// The printed timesheet: A4 landscape, the title and the day numbers at the top of every
// page, one line per worker name with the hours of days 1 to 31 and their total, the page
// number at the bottom right.
report::ReportDefinition timesheetLayout();

// The printed timesheet's layout and its query. Created at start-up, never shown itself.
class TForm15 : public QDialog {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);

    // Opens H_Tabel on the month. Its text is set then: whether the person codes are
    // indexed is known only once connected, which may be after this window is created.
    void openMonth(int month, int year);

    Dataset H_Tabel;        // parameters mnth, yea
    report::Report Report;  // its title text is the item "title"
};

extern TForm15* Form15;
