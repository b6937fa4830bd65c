#pragma once

#include "reports/spreadsheet_opener.h"

#include <QString>
#include <vector>

// Receives the workbook files the exports hand over, instead of opening them; removes
// them when the test ends.
class FakeSpreadsheetOpener : public seams::SpreadsheetOpener {
public:
    FakeSpreadsheetOpener();
    ~FakeSpreadsheetOpener() override;

    bool available() override { return isAvailable; }
    bool open(const QString& path) override;

    bool isAvailable = true;
    bool startSucceeds = true;
    std::vector<QString> opened;  // the files handed over, in order
};
