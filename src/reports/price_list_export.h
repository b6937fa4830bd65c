#pragma once

#include <QString>

class Dataset;
class ExcelExport;

// The text of the price-list query XLS_Rep: every operation, with or without norm rows,
// with the price kept on the operation row as cena.
QString priceListSql();

// Writes the price list of every operation into a new workbook and hands it to the
// spreadsheet application: header in row 1, one operation per row from row 2. XLS_Rep
// is opened here and closed again on every path.
void exportPriceList(Dataset& XLS_Rep, ExcelExport& excel);
