#pragma once

#include <QString>
#include <QStringList>

// The program's write statements, one namespace per table: the texts with their :named
// parameters, which the caller binds (Command::setParam). No typed value is ever part of a
// text here; the only pieces put in are day numbers and numbers the program computed
// itself. (The rows edited in place, the version stamp, the norms and the operation kinds,
// are posted by their Dataset, which binds every value too.)

// accounts_dep.smena, the journal
namespace smena_sql {
// A new record; its acceptance mark "no" and the ERP document links empty.
QString insert();
// A record changed while it is as it was read (:version, its row version); the ERP document links emptied.
QString update();
// One record.
QString remove();
// Every record of an item.
QString removeOfItem();
// The acceptance mark of a record while it is as it was read.
QString setAcceptance();
}  // namespace smena_sql

// accounts_dep.h_tabel, the timesheet's hours
namespace h_tabel_sql {
// Every row of a month.
QString removeMonth();
// The row of a worker (:w_id), shift (:smena), month (:month) and year (:year), reads too.
QString keyCondition();
// The column of a day of the month: d1 … d31.
QString dayColumn(int day);
// The hours of one day of a row (:hours; null empties the cell), the row found by its key.
QString setDay(int day);
// A new row with the hours of one day, the others empty.
QString insertDay(int day);
// Whole rows at once: each "(smena, w_id, month, year, d1, …, d31)" of numbers the rebuild computed.
QString insertRows(const QStringList& rows);
}  // namespace h_tabel_sql

// accounts_dep.fatigue, the household works
namespace fatigue_sql {
// One household entry while it is as it was read.
QString remove();
// A new household entry.
QString insert();
// A household entry changed while it is as it was read.
QString update();
}  // namespace fatigue_sql

// accounts_dep.oper, the operations
namespace oper_sql {
// A new operation of an item, its new price 0.
QString insert();
// An operation's kind, name and item.
QString update();
// Every operation of an item.
QString removeOfItem();
// One operation.
QString remove();
}  // namespace oper_sql

// accounts_dep.norm, the norms
namespace norm_sql {
// The norms of every operation of an item.
QString removeOfItem();
// The norms of one operation.
QString removeOfOperation();
}  // namespace norm_sql

// cmn_gds_and_srv.gds_and_srv, the ERP's goods (the items)
namespace goods_sql {
// One item of the ERP's goods.
QString remove();
// A new item: its caption, weight and group, in pieces (measure 6).
QString insert();
// An item's caption, weight and group.
QString update();
}  // namespace goods_sql

// accounts_dep.person, the workers
namespace person_sql {
// A new worker; the ERP's person follows through its trigger.
QString insert();
// A worker's name and position.
QString update();
// One worker.
QString remove();
}  // namespace person_sql
