#include "month_lock.h"

#include "connection.h"
#include "database_error.h"

namespace month_lock {

namespace {

const QStringList kMonthNames{QStringLiteral("январь"),  QStringLiteral("февраль"), QStringLiteral("март"),
                              QStringLiteral("апрель"),  QStringLiteral("май"),     QStringLiteral("июнь"),
                              QStringLiteral("июль"),    QStringLiteral("август"),  QStringLiteral("сентябрь"),
                              QStringLiteral("октябрь"), QStringLiteral("ноябрь"),  QStringLiteral("декабрь")};

QString cell(const PgResultHandle& result, int row, int column)
{
    return QString::fromUtf8(PQgetvalue(result.get(), row, column));
}

// Runs the script's function; a user outside its role is told so in Russian.
void callAsCloser(Connection& connection, const QString& function, int year, int month)
{
    try {
        connection.execute(QStringLiteral("select accounts_dep.%1($1::integer, $2::integer)").arg(function),
                           {QByteArray::number(year), QByteArray::number(month)});
    } catch (const DatabaseError& error) {
        if (error.sqlState() != QStringLiteral("42501"))
            throw;
        // The right is the administrator's to grant: the refusal is theirs, in the program's words.
        throw DatabaseError::administratorRefusal(
            QStringLiteral("Закрывать и открывать месяцы могут только те, кому администратор базы данных дал "
                           "роль tabel_month_closer."),
            error.sqlState());
    }
}

}  // namespace

bool installed(Connection& connection)
{
    // Asked of the catalogue, which everyone may read: to_regclass needs the use of the
    // schema, which a person without a group in the program lacks.
    const PgResultHandle result = connection.query(QStringLiteral(
        "select exists (select from pg_class c join pg_namespace n on n.oid = c.relnamespace "
        "where n.nspname = 'accounts_dep' and c.relname = 'closed_month')"));
    return cell(result, 0, 0) == QStringLiteral("t");
}

std::optional<ClosedMonth> find(Connection& connection, int year, int month)
{
    const PgResultHandle result = connection.query(
        QStringLiteral("select closed_by, to_char(closed_at, 'YYYY-MM-DD') from accounts_dep.closed_month "
                       "where year = $1::integer and month = $2::integer"),
        {QByteArray::number(year), QByteArray::number(month)});
    if (PQntuples(result.get()) == 0)
        return std::nullopt;
    return ClosedMonth{cell(result, 0, 0), QDate::fromString(cell(result, 0, 1), Qt::ISODate)};
}

QStringList closedMonths(Connection& connection)
{
    const PgResultHandle result =
        connection.query(QStringLiteral("select year, month from accounts_dep.closed_month order by year, month"));
    QStringList names;
    for (int row = 0; row < PQntuples(result.get()); ++row)
        names << monthName(cell(result, row, 0).toInt(), cell(result, row, 1).toInt());
    return names;
}

QString notice(const ClosedMonth& closed)
{
    return QStringLiteral("Месяц закрыт %1 — %2").arg(closed.closedOn.toString(QStringLiteral("dd.MM.yyyy")), closed.closedBy);
}

QString monthName(int year, int month) { return kMonthNames.value(month - 1) + QLatin1Char(' ') + QString::number(year); }

void close(Connection& connection, int year, int month) { callAsCloser(connection, QStringLiteral("close_month"), year, month); }

void open(Connection& connection, int year, int month) { callAsCloser(connection, QStringLiteral("open_month"), year, month); }

}  // namespace month_lock
