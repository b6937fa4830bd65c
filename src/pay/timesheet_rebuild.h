#pragma once

#include <QString>
#include <functional>

class Dataset;
class TDataModule6;

namespace timesheet_rebuild {

// The per-day reading of the journal: hours per shift and worker on one date.
QString dayQuery();

// Writes the stored timesheet of a month (every shift, overtime included) again from the
// journal: a row per worker and shift with records in the month, each day cell the sum of
// that day's hours, days without records left empty.
//
// The month's old rows go and the new ones arrive in one transaction, so a failure at any
// point leaves the month as it was. The journal is read one day at a time through `dt`
// (opened with the day query); `dayRead` is told each day once it has been read. The rows
// are then written with one statement instead of a count and a write per cell.
void rebuildMonth(TDataModule6& module, Dataset& dt, int month, int year, const std::function<void(int day)>& dayRead);

}  // namespace timesheet_rebuild
