#pragma once

class Dataset;
class TDataModule6;

// The month rebuild written the long way, one statement at a time and without a
// transaction: delete the month, then for every day and every worker-and-shift group of
// that day count the worker's row and either update its day cell or insert the row.
// The yardstick the program's rebuild is measured and checked against.
void rebuildMonthCellByCell(TDataModule6& module, Dataset& dt, int month, int year);
