#pragma once

#include "journal_record.h"

#include <QString>
#include <optional>

class TDataModule6;

// The change history the administrator's script keeps (db/admin/month-lock-and-audit.sql):
// every insert, change and deletion of journal records, norms, operations and household
// works, with who, when and the row before and after. Read through the script's functions
// only; users cannot write it.
namespace change_history {

// Both give the columns a person reads: kogda, kto (user and program), deistvie
// ("Добавлена", "Изменена", "Удалена") and zapis (which record); what changed is only the
// fields that changed, every filled field of an added or deleted row.
//
// One journal record's versions (:id), oldest first, one row each; izmeneno: what changed
// ("Кол-во: 10 → 12; Брак: 0 → 2").
QString recordHistorySql();
// The changes of a period (:data1 inclusive, :data2 exclusive) in all four tables, in order,
// one row per changed field: nomer (the change's number in the period), pole (the field),
// bylo and stalo (its value before and after, "—" for none).
QString periodChangesSql();

// A journal record as it was when it was deleted, ready to be saved again as a new record
// entered `entered`; nothing when the record's last change is not its deletion.
std::optional<pay::JournalRecord> deletedRecord(TDataModule6& module, qint64 id, const QDate& entered);

// Saves a deleted record again by the rules of every save (its own checks, duplicates, the
// day's hours, a closed month refused by the database); what the user is told when it is
// refused, empty when it is saved. Acceptance starts afresh, as for any new record.
QString restore(TDataModule6& module, const pay::JournalRecord& record);

}  // namespace change_history
