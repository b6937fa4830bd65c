#pragma once

#include "journal_record.h"

#include <QString>
#include <vector>

class TDataModule6;

// The save and the deletion of one journal record, safe with several workstations on one
// database.
//
// In one transaction: the record's six values (worker, item, operation, date, shift,
// colour) are held by an advisory lock, so a second workstation saving the same values
// waits and then finds the first one's record; the worker, the item and the operation
// are held against deletion (and found still there); the duplicate count, the write and
// the hours of the timesheet cells it touches follow. Any refusal leaves nothing written,
// and no lock is held while the caller tells the user.
namespace record_save {

// The unique index of db/schema.sql on the six values: the database's own refusal of a
// duplicate that a program without the lock wrote at the same moment.
inline const QString kUniqueRecordIndex = QStringLiteral("smena_unique_record");

enum class Outcome { Saved, Duplicate, WorkerGone, ItemGone, OperationGone, Changed, DayOverHours };

struct Result {
    Outcome outcome = Outcome::Saved;
    QString refusal;  // what the user is told; empty when saved
};

// Inserts a new record, or updates the record `record.id` while it is as it was read
// (its row version); a change that moves the record to another worker or date takes its
// hours out of the cell it left. The record's own checks (pay::refusal) are the caller's;
// the day's hours are summed under the cell's lock with the record written, and a day over
// pay::kMaxDayHours is refused. Changed: another workstation changed or deleted the
// record since it was read.
Result save(TDataModule6& module, const pay::JournalRecord& record);

// A record of a batch that cannot be saved: its place in the batch and what the user is
// told, in the words of the single save.
struct RowRefusal {
    int row = 0;
    Outcome outcome = Outcome::Saved;
    QString refusal;
};

// Inserts new records all together, in one transaction, or none of them: each is checked
// as save checks it (its values locked, its references still there, no duplicate in the
// journal) and against the batch's earlier records; the hours of each day, the journal's
// and the batch's together, stay within pay::kMaxDayHours. Returns every refused record in
// the batch's order (a day over its hours refuses each of its records); empty when all
// were written with the hours of every cell they touch. The records' own checks
// (pay::refusal) are the caller's.
std::vector<RowRefusal> saveAll(TDataModule6& module, const std::vector<pay::JournalRecord>& records);

// Deletes the record `id` while it is as it was read (its row version), and brings the
// cell of the record's worker, shift and date, as the database holds them, in line, in one
// transaction. Changed: another workstation changed or deleted the record since it was
// read; nothing is deleted.
Outcome remove(TDataModule6& module, qint64 id, const QString& version);

// What the user is told when the save or deletion was refused; empty for Saved.
QString refusalMessage(Outcome outcome);

}  // namespace record_save
