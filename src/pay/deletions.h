#pragma once

#include <QString>

class TDataModule6;

// Deletions of items and operations, each in one transaction that first holds the row
// being deleted alone: a journal save for the item or operation that is under way
// finishes first (and is then deleted with the item, or keeps the operation), and a save
// that comes later finds it gone (see record_save). Nothing is left pointing at a row that
// is gone: norm rows go with their operation, journal records and the hours they put into
// the timesheet go with their item.
namespace deletions {

struct ItemDeletion {
    qint64 itemId = 0;
    bool withOperations = false;  // the user agreed that the item's prices go with it
    bool withJournal = false;     // the user agreed that the item's journal records go with it
};

enum class Outcome {
    Deleted,
    AlreadyGone,      // another workstation deleted it first
    KeepsOperations,  // the item has operations the user did not agree to delete
    JournalAppeared,  // the item has journal records the user was not asked about
    UsedInJournal,    // journal records still use the operation
};

// The item's catalogue row, with its operations and their norm rows and with its journal
// records, whose timesheet cells (worker, shift, date) are brought into line with the
// journal. Refused, with nothing deleted, when the item keeps something the user did not
// agree to delete.
Outcome deleteItem(TDataModule6& module, const ItemDeletion& deletion);

// The operation with its norm rows; refused while journal records use it, since they
// would vanish from the journal and still count in the hours and the pay.
Outcome deleteOperation(TDataModule6& module, int operationId);

// What the user is told when the deletion was refused; empty otherwise.
QString refusalMessage(Outcome outcome);

}  // namespace deletions
