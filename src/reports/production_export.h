#pragma once

#include <QString>
#include <functional>

class Dataset;
class ExcelExport;

// The text of the production query XLS_Rep: the good quantity and mass of the period per
// item, operation kind, colour and product kind, ordered by item.
QString productionSql();

// The operation kind as the production spreadsheet writes it: " (грунт)" after it for
// colour 1, " (цвет: N)" for a colour number above 1, nothing for none.
QString kindWithColour(const QString& vid, int color);

// A quantity as a whole number, halves to the even neighbour.
QString wholeQuantityText(double quantity);

// Writes the production of the period XLS_Rep has been set to into a new workbook and hands
// it to the spreadsheet application: header in row 1, one row per record from row 2.
// `showProgress` gets the button caption "Excel (k из N)" as the rows are written.
// XLS_Rep is opened here and closed again on every path.
void exportProduction(Dataset& XLS_Rep, ExcelExport& excel, const std::function<void(const QString&)>& showProgress);
