#pragma once

#include <QString>
#include <QStringList>

class Dataset;

// The price list as the spreadsheet receives it: every operation, with or without norms,
// at the price kept on the operation row, whatever the list's search holds.
namespace price_list {

// The text of the operations window's query XLS_Rep.
QString query();
// Row 1: "Марка", "Операция", "Цена", "Вид".
QStringList header();
// The four cells of the query's current row; the price as a number in the user's format
// (0 when the operation has none).
QStringList row(const Dataset& rep);

}  // namespace price_list
