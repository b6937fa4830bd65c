#pragma once

#include "pay_statement.h"

#include <vector>

class ExcelExport;

// The pay statements in one worksheet, one block per worker under each other: the head,
// then the lines as printed, piece-work cells in columns 1 to 11, the household and hours
// tables and the amounts of text lines in the columns of the same meaning, so that every
// amount stands in column 10 ("Сумма"). Calc opens one long sheet more readily than
// hundreds of sheets, and a block is found by the worker's name.
void exportPayStatements(const std::vector<pay_statement::Statement>& statements, const QDate& from, const QDate& to,
                         ExcelExport& excel);
