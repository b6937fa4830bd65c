#include "copy_stream.h"

#include "connection.h"

#include <QRegularExpression>

namespace {

CopyRefusal refusal(const PGresult* result, PGconn* connection)
{
    CopyRefusal r;
    r.message = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(connection)).trimmed();
    const QString context = result ? QString::fromUtf8(PQresultErrorField(result, PG_DIAG_CONTEXT)) : QString();
    // "COPY oper, line 3, column naimen: …", in whatever language the server speaks.
    static const QRegularExpression where(QStringLiteral(R"(COPY [^,\s]+, \S+ (\d+)(?:, \S+ ([^:\s]+):)?)"));
    const QRegularExpressionMatch match = where.match(context);
    if (match.hasMatch()) {
        r.line = match.captured(1).toLongLong();
        r.column = match.captured(2);
    }
    return r;
}

// The result that ends the COPY; the ones after it are read and dropped.
PgResultHandle lastResult(PGconn* connection)
{
    PgResultHandle result(PQgetResult(connection));
    while (PgResultHandle rest{PQgetResult(connection)})
        ;
    return result;
}

}  // namespace

CopyStream::CopyStream(Connection& connection, const QString& statement) : connection_(connection)
{
    PGconn* raw = connection_.raw();
    const PgResultHandle started(PQexec(raw, statement.toUtf8().constData()));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN)
        throw refusal(started.get(), raw);
    open_ = true;
}

CopyStream::~CopyStream()
{
    if (!open_)
        return;
    PQputCopyEnd(connection_.raw(), "import stopped");
    lastResult(connection_.raw());
}

void CopyStream::refuse()
{
    open_ = false;
    const PgResultHandle result = lastResult(connection_.raw());
    throw refusal(result.get(), connection_.raw());
}

void CopyStream::send(const QByteArray& rows)
{
    // Fails once the server has refused a row sent earlier.
    if (PQputCopyData(connection_.raw(), rows.constData(), int(rows.size())) != 1)
        refuse();
}

void CopyStream::finish()
{
    if (PQputCopyEnd(connection_.raw(), nullptr) != 1)
        refuse();
    open_ = false;
    const PgResultHandle result = lastResult(connection_.raw());
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        throw refusal(result.get(), connection_.raw());
}
