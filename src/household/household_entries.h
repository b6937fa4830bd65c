#pragma once

#include <QDate>
#include <QString>

class Command;
class TDataModule6;

// The writes of household entries, safe with several workstations on one database.
//
// A save runs in one transaction: the worker's household hours of the date are held by an
// advisory lock, so a second workstation saving for the same worker and date waits and then
// counts the first one's entry; the worker and the nomenclature entry are held against
// deletion (and found still there); the write follows, and the day's hours with it are
// checked. A change or deletion touches the entry only while it is as it was read.
namespace household_entries {

// A worker's household hours of one date, all entries together.
inline constexpr int kMaxDayHours = 24;

struct EntryWrite {
    int workerId = 0;
    qint64 nomenclatureId = 0;
    QDate date;  // the date the entry has once written
};

enum class Outcome { Saved, WorkerGone, NomenclatureGone, Changed };

// Runs the statement (the editor's insert, or its update conditioned on the entry's version
// as read) within the checks above. Changed: the update found the entry changed or deleted
// by another workstation. A day over kMaxDayHours throws InputRefused; nothing is written.
Outcome save(TDataModule6& module, Command& statement, const EntryWrite& write);

// Deletes the entry if it is still as it was read (its row version); false when another
// workstation changed or deleted it meanwhile.
bool remove(TDataModule6& module, qint64 id, const QString& version);

// What the user is told when the save was refused; empty for Saved.
QString refusalMessage(Outcome outcome);

}  // namespace household_entries
