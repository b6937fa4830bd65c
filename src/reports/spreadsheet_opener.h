#pragma once

#include <QString>

// The desktop's spreadsheet application, as the exports reach it: whether one can be
// started, and handing it a finished workbook file. Real by default; tests replace it to
// receive the file instead of opening it.
namespace seams {

class SpreadsheetOpener {
public:
    virtual ~SpreadsheetOpener() = default;
    // True when there is an application to hand a workbook to.
    virtual bool available() = 0;
    // Hands the file to the application; false when it could not be started.
    virtual bool open(const QString& path) = 0;
};

// The command named by TABEL_SPREADSHEET_COMMAND when set, otherwise LibreOffice Calc
// where installed, otherwise the desktop's default opener (xdg-open, then gio open).
SpreadsheetOpener& spreadsheetOpener();
void setSpreadsheetOpener(SpreadsheetOpener* opener);  // nullptr: the real one again

}  // namespace seams
