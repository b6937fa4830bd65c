#include "deletions.h"

#include "data_module.h"
#include "locks.h"
#include "timesheet_hours.h"
#include "write_statements.h"

#include <QDate>
#include <vector>

namespace deletions {

namespace {

bool counts(TDataModule6& module, const QString& sql, qint64 id)
{
    const PgResultHandle result = module.ADO_DB.execute(sql, {toParameterText(id)});
    return QByteArray(PQgetvalue(result.get(), 0, 0)).toLongLong() > 0;
}

// Runs a deletion of the rows of the key `id` (its parameter :id).
void executeDelete(TDataModule6& module, const QString& sql, qint64 id)
{
    module.DelSmena.setSql(sql);
    module.DelSmena.setParam(QStringLiteral("id"), id);
    module.DelSmena.execute();
}

struct TouchedCell {
    int workerId;
    int shift;
    QDate date;
};

std::vector<TouchedCell> cellsOfItemRecords(TDataModule6& module, qint64 itemId)
{
    const PgResultHandle result = module.ADO_DB.execute(
        QStringLiteral("select distinct w_id, smena, data from accounts_dep.smena "
                       "where i_id = $1::bigint and w_id is not null and smena is not null and data is not null"),
        {toParameterText(itemId)});
    std::vector<TouchedCell> cells;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        cells.push_back({QByteArray(PQgetvalue(result.get(), row, 0)).toInt(), QByteArray(PQgetvalue(result.get(), row, 1)).toInt(),
                         QDate::fromString(QString::fromLatin1(PQgetvalue(result.get(), row, 2)), Qt::ISODate)});
    return cells;
}

// The records go and every cell they counted in gets the hours left, as after the
// deletion of one record.
void deleteItemRecords(TDataModule6& module, qint64 itemId)
{
    using namespace timesheet_hours;
    const std::vector<TouchedCell> cells = cellsOfItemRecords(module, itemId);
    std::vector<HoursKey> keys;
    for (const TouchedCell& c : cells)
        keys.push_back(keyOf(c.workerId, c.shift, c.date));
    LockHoursRows(module, keys);
    executeDelete(module, smena_sql::removeOfItem(), itemId);
    for (const TouchedCell& c : cells)
        HoursAfterDelete(module, c.workerId, c.shift, c.date);
}

void deleteItemOperations(TDataModule6& module, qint64 itemId)
{
    executeDelete(module,
                  norm_sql::removeOfItem(),
                  itemId);
    executeDelete(module, oper_sql::removeOfItem(), itemId);
}

Outcome deleteLockedItem(TDataModule6& module, const ItemDeletion& d)
{
    if (!locks::forUpdate(module.ADO_DB, QStringLiteral("cmn_gds_and_srv.gds_and_srv"), d.itemId))
        return Outcome::AlreadyGone;
    // Counted again under the lock: what the questions were asked about may have grown.
    if (!d.withOperations && counts(module, QStringLiteral("select count(*) from accounts_dep.oper where i_id = $1::bigint"), d.itemId))
        return Outcome::KeepsOperations;
    if (!d.withJournal && counts(module, QStringLiteral("select count(*) from accounts_dep.smena where i_id = $1::bigint"), d.itemId))
        return Outcome::JournalAppeared;
    if (d.withOperations)
        deleteItemOperations(module, d.itemId);
    if (d.withJournal)
        deleteItemRecords(module, d.itemId);
    executeDelete(module, goods_sql::remove(), d.itemId);
    return Outcome::Deleted;
}

Outcome deleteLockedOperation(TDataModule6& module, int operationId)
{
    if (!locks::forUpdate(module.ADO_DB, QStringLiteral("accounts_dep.oper"), operationId))
        return Outcome::AlreadyGone;
    if (counts(module, QStringLiteral("select count(*) from accounts_dep.smena where o_id = $1"), operationId))
        return Outcome::UsedInJournal;
    executeDelete(module, norm_sql::removeOfOperation(), operationId);
    module.Oper_del.setParam(QStringLiteral("id"), operationId);
    module.Oper_del.execute();
    return Outcome::Deleted;
}

}  // namespace

Outcome deleteItem(TDataModule6& module, const ItemDeletion& deletion)
{
    Outcome outcome = Outcome::Deleted;
    module.ADO_DB.inTransaction([&] { outcome = deleteLockedItem(module, deletion); });
    return outcome;
}

Outcome deleteOperation(TDataModule6& module, int operationId)
{
    Outcome outcome = Outcome::Deleted;
    module.ADO_DB.inTransaction([&] { outcome = deleteLockedOperation(module, operationId); });
    return outcome;
}

QString refusalMessage(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Deleted:
    case Outcome::AlreadyGone:
        return {};
    case Outcome::KeepsOperations:
        return QStringLiteral("Изделие не удалено: по нему остаются расценки.");
    case Outcome::JournalAppeared:
        return QStringLiteral("Изделие не удалено: по нему появились записи журнала. Повторите удаление.");
    case Outcome::UsedInJournal:
        return QStringLiteral("Операция не удалена: по ней есть записи журнала.");
    }
    return {};
}

}  // namespace deletions
