#pragma once

#include <QDate>
#include <vector>

class TDataModule6;

// The monthly hours timesheet (accounts_dep.h_tabel) kept in step with the journal:
// the cell of a worker, shift and date holds the sum of the hours of that worker's
// records of that shift and date.
//
// A row is found by its key (worker, shift, month, year), never by its id. Every
// write holds an advisory lock on that key until the surrounding transaction ends,
// so two workstations writing the first record of a key cannot both insert a row,
// and the one that writes last has summed the hours of the other. It also holds its
// month shared, and a rebuild holds the month alone: an upkeep waits for a running
// rebuild (and then counts what it wrote), a rebuild waits for running upkeeps.
namespace timesheet_hours {

struct HoursKey {
    int workerId = 0;
    int shift = 0;
    int month = 0;
    int year = 0;
};
HoursKey keyOf(int workerId, int shift, const QDate& date);

// Sum of the hours of the worker's records of the shift and date; 0 when there are none.
int DayHours(TDataModule6& module, int workerId, int shift, const QDate& date);

bool HoursRowExists(TDataModule6& module, const HoursKey& key);

// Writes the hours into the day cell, inserting the row when the key has none yet.
void WriteHoursCell(TDataModule6& module, const HoursKey& key, int day, int hours);

// Empties the day cell (no value) and leaves the other cells of the row as they are.
void ClearHoursCell(TDataModule6& module, const HoursKey& key, int day);

// Holds the key's lock (and its month shared) until the current transaction ends.
// Must run inside one.
void LockHoursRow(TDataModule6& module, const HoursKey& key);
// Locks several keys in one fixed order, so that two workstations locking the same
// keys never wait for each other in a circle. A transaction that touches several
// rows locks them all here before writing any.
void LockHoursRows(TDataModule6& module, std::vector<HoursKey> keys);
// Holds the whole month alone, for its rebuild: no upkeep of the month runs meanwhile.
void LockHoursMonth(TDataModule6& module, int month, int year);

// After a record has been written: the cell of its worker, shift and date gets the
// day's hours, the row being inserted when needed.
void HoursAfterWrite(TDataModule6& module, int workerId, int shift, const QDate& date);

// After a record has been deleted or moved away: the cell gets the hours left, or is
// emptied when none are left. A missing row is not created.
void HoursAfterDelete(TDataModule6& module, int workerId, int shift, const QDate& date);

}  // namespace timesheet_hours
