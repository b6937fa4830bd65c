#include "locks.h"

#include "connection.h"
#include "internal_error.h"

namespace locks {

namespace {

void requireTransaction(const Connection& connection)
{
    if (!connection.transactionOpen())
        throw InternalError(QStringLiteral("Блокировка вне транзакции"));
}

void advisory(Connection& connection, const char* function, const QString& name)
{
    requireTransaction(connection);
    const QString lock = QLatin1String(function) + QLatin1Char(' ') + name;
    if (connection.holdsLock(lock))
        return;
    connection.execute(QStringLiteral("select %1(hashtextextended($1, 0))").arg(QLatin1String(function)),
                       {toParameterText(name)});
    connection.rememberLock(lock);
}

bool rowLock(Connection& connection, const QString& table, qint64 id, const char* strength)
{
    requireTransaction(connection);
    const PgResultHandle result = connection.execute(
        QStringLiteral("select 1 from %1 where id = $1 for %2").arg(table, QLatin1String(strength)), {toParameterText(id)});
    return PQntuples(result.get()) > 0;
}

}  // namespace

void exclusive(Connection& connection, const QString& name) { advisory(connection, "pg_advisory_xact_lock", name); }

void shared(Connection& connection, const QString& name) { advisory(connection, "pg_advisory_xact_lock_shared", name); }

bool keyShare(Connection& connection, const QString& table, qint64 id) { return rowLock(connection, table, id, "key share"); }

bool forUpdate(Connection& connection, const QString& table, qint64 id) { return rowLock(connection, table, id, "update"); }

}  // namespace locks
