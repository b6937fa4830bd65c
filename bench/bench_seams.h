#pragma once

#include "seams.h"
#include "reports/spreadsheet_opener.h"

// The seams a benchmark of the windows puts in place of the user's answers and the
// spreadsheet application.

// Any message means the timing is void: it is printed and the program ends.
class FailingMessages : public seams::MessageBoxes {
public:
    void error(QWidget* parent, const QString& text, const QString& caption) override;
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override;
};

// Takes the workbook file and removes it, where the program would start the spreadsheet application.
class DiscardingOpener : public seams::SpreadsheetOpener {
public:
    bool available() override { return true; }
    bool open(const QString& path) override;
};

// Both in place for the life of a scope.
class StandInSeams {
public:
    StandInSeams();
    ~StandInSeams();
    StandInSeams(const StandInSeams&) = delete;
    StandInSeams& operator=(const StandInSeams&) = delete;

private:
    FailingMessages messages_;
    DiscardingOpener opener_;
};
