#pragma once

#include <QDate>
#include <QString>

#include <functional>

class Command;
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

struct JournalWrite {
    int workerId = 0;
    qint64 itemId = 0;
    int operationId = 0;
    int shift = 0;
    QDate date;
    int colour = 0;
    QString duplicateQuery;  // the count (column cnt) of other records with the six values
    // When changing: where the record stood as it was read, whose cell loses its hours
    // when the record moves to another worker or date.
    bool changing = false;
    int formerWorkerId = 0;
    QDate formerDate;
    // Checks that need the timesheet cell locked (the day's hours); may throw to refuse.
    std::function<void()> checkUnderHoursLock;
};

enum class Outcome { Saved, Duplicate, WorkerGone, ItemGone, OperationGone, Changed };

// Runs the statement (the editor's insert, or its update conditioned on the record's
// version as read) within the checks above. Changed: the update found the record
// changed or deleted by another workstation since it was read.
Outcome save(TDataModule6& module, Command& statement, const JournalWrite& write);

// Runs the deletion of the record `id` (the journal's DelSmena) while the record is as it was
// read (its row version), and brings the cell of the record's worker, shift and date, as the
// database holds them, in line, in one transaction. Changed: another workstation changed or
// deleted the record since it was read; nothing is deleted.
Outcome remove(TDataModule6& module, Command& deletion, qint64 id, const QString& version);

// What the user is told when the save or deletion was refused; empty for Saved.
QString refusalMessage(Outcome outcome);

}  // namespace record_save
