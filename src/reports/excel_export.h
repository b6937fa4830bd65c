#pragma once

#include "workbook.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// The spreadsheet export every export writes through: a new workbook, texts written
// cell by cell, and the finished workbook handed to the desktop's spreadsheet
// application, where the user takes it over unsaved. Results: 1 success, -1 failure
// (after a message to the user).
class ExcelExport {
public:
    explicit ExcelExport(QWidget* messageParent = nullptr) : messageParent_(messageParent) {}

    // Starts a new empty workbook. The file name must be empty: opening an existing
    // file is not supported and fails like a workbook that cannot be opened.
    int OpenExcel(const QString& fileName);
    // With true, writes the workbook into a fresh temporary .xlsx file and hands it to
    // the spreadsheet application; the workbook is then the user's. With false, or
    // without an open workbook, nothing happens.
    int ShowExcel(bool visible);
    // Sheet, column and row are 1-based. An empty text writes nothing. The text-format
    // flag has no effect: a text that reads as a number becomes a number.
    int WriteCell(int sheet, int column, int row, const QString& text, bool textFormat);
    // As WriteCell; as-text gives the cell the text format "@", auto-fit sizes the
    // column to its longest text, and the cell's bold is set to the flag.
    int WriteCellFormatted(int sheet, int column, int row, const QString& text, bool asText,
                           bool autoFit, bool bold);

private:
    // Checks the sheet and cell and stores the text; false after a message.
    bool storeText(int sheet, int column, int row, const QString& text, bool asText);
    void reportError(const QString& text, const QString& caption) const;

    QWidget* messageParent_;
    std::optional<Workbook> workbook_;
};

// Writes one row of sheet 1 from column 1 on, as the timesheet export writes its cells:
// each column fitted to its widest text, a heading row in bold. A text that reads as a
// number becomes a number, as with WriteCell.
void writeSheetRow(ExcelExport& excel, int row, const QStringList& texts, bool heading = false);
