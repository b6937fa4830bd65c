#pragma once

#include <QString>

class TDataModule6;

// The acceptance mark of a journal record: "ok", or "да" in older records, means
// accepted; anything else, an empty mark included, means not accepted.
namespace acceptance {

bool isAccepted(const QString& mark);

// The mark a switch writes: accepted records become "no", all others "ok".
QString toggled(const QString& mark);

// Switches the mark of the record `id` while the record is as it was read (its mark and
// row version). False when another workstation changed or deleted it since: nothing is
// written.
bool toggle(TDataModule6& module, qint64 id, const QString& mark, const QString& version);

}  // namespace acceptance
