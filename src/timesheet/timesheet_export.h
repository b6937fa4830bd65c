#pragma once

#include <QString>
#include <functional>

class Dataset;
class ExcelExport;

// Writes the open H_Tabel into a new workbook and hands it to the spreadsheet
// application: row 1 the title, row 2 the headings, then one row per worker name with
// the hours of days 1 to 31 (0 for an empty day) and their total in column 33.
// `progress` is told the rows written so far and their number, before the first row and
// after each. False, having written nothing, when no workbook could be opened.
bool exportTimesheet(Dataset& H_Tabel, ExcelExport& excel, const QString& title,
                     const std::function<void(int written, int total)>& progress);
