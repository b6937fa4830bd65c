#pragma once

#include <QString>

class Connection;

// Locks that several workstations take on the shared database. Every lock here is held
// until the surrounding transaction ends (commit or rollback) and must be taken inside
// one (Connection::inTransaction); outside a transaction it would be released at once,
// so that is refused.
//
// Advisory locks are named by a text that the server hashes to its 64-bit lock key, so
// every subsystem names its locks plainly ("h_tabel month 2026-12") without sharing a
// table of numbers. They need nothing in the schema.
namespace locks {

// Waits until no other transaction holds the name, then holds it alone.
void exclusive(Connection& connection, const QString& name);
// Held by any number of transactions at once; waits only for an exclusive holder.
void shared(Connection& connection, const QString& name);

// Row locks by key, for a check that a row still exists followed by a write that relies
// on it. Both return false, holding nothing, when the row is gone.
//
// keyShare: the row cannot be deleted (or its key changed) until this transaction ends;
// other readers and writers of the row's other columns are not held up.
bool keyShare(Connection& connection, const QString& table, qint64 id);
// forUpdate: this transaction alone may change or delete the row; a transaction holding
// keyShare on it finishes first.
bool forUpdate(Connection& connection, const QString& table, qint64 id);

}  // namespace locks
