#include "connection.h"

#include "connection_string.h"
#include "database_error.h"
#include "privilege_refusal.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <poll.h>

ParameterText toParameterText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return value.toBool() ? QByteArray("true") : QByteArray("false");
    default:
        return value.toString().toUtf8();
    }
}

namespace {

// How long the server may take to answer each step of the connection.
constexpr int kConnectStepMilliseconds = 10000;

// Connects as libpq's PQconnectdbParams does, but with the server's error codes in the
// messages of a refusal, so that a refused login can be told from an unreachable server.
PgConnHandle connectTo(const std::vector<const char*>& keywords, const std::vector<const char*>& values)
{
    PgConnHandle conn(PQconnectStartParams(keywords.data(), values.data(), 0));
    if (!conn || PQstatus(conn.get()) == CONNECTION_BAD)
        return conn;
    PQsetErrorVerbosity(conn.get(), PQERRORS_VERBOSE);
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        pollfd socket{PQsocket(conn.get()), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (::poll(&socket, 1, kConnectStepMilliseconds) <= 0)
            return PgConnHandle(nullptr);
        state = PQconnectPoll(conn.get());
    }
    PQsetErrorVerbosity(conn.get(), PQERRORS_DEFAULT);
    return conn;
}

// A refused login (28000 invalid authorization, 28P01 wrong password, or no password to
// give the server that asked for one) or any other failure to connect.
[[noreturn]] void throwConnectionFailure(PGconn* conn)
{
    if (!conn)
        throw DatabaseError(QStringLiteral("Сервер не ответил"));
    const QString text = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    static const QRegularExpression refusedLogin(QStringLiteral("\\b(28000|28P01)\\b"));
    if (PQconnectionNeedsPassword(conn) || refusedLogin.match(text).hasMatch())
        throw AuthenticationRefusedError(text);
    throw DatabaseError(text);
}

}  // namespace

void Connection::open(const QString& odbcConnectionString)
{
    open(connection_string::toLibpqParameters(odbcConnectionString));
}

void Connection::open(const std::vector<std::pair<QString, QString>>& pairs)
{
    close();
    std::vector<QByteArray> storage;
    storage.reserve(pairs.size() * 2 + 2);
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    for (const auto& [keyword, value] : pairs) {
        storage.push_back(keyword.toUtf8());
        keywords.push_back(storage.back().constData());
        storage.push_back(value.toUtf8());
        values.push_back(storage.back().constData());
    }
    keywords.push_back("client_encoding");
    values.push_back("UTF8");
    // A server that does not answer must not freeze the program for minutes, at start
    // or when a lost connection is tried again.
    keywords.push_back("connect_timeout");
    values.push_back("10");
    // The server's JIT compiler takes a second and more over queries whose join on the
    // ERP person code it misjudges; the program's statements are short without it.
    keywords.push_back("options");
    values.push_back("-c jit=off");
    const QByteArray applicationName = applicationName_.toUtf8();
    if (!applicationName.isEmpty()) {
        keywords.push_back("application_name");
        values.push_back(applicationName.constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);

    PgConnHandle conn = connectTo(keywords, values);
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK)
        throwConnectionFailure(conn.get());
    conn_ = std::move(conn);
    transactionDepth_ = 0;
    heldLocks_.clear();
}

void Connection::close() { conn_.reset(); }

void Connection::setApplicationName(const QString& name)
{
    applicationName_ = name;
    if (isOpen())
        query(QStringLiteral("select set_config('application_name', $1, false)"), {name.toUtf8()});
}

bool Connection::isOpen() const { return conn_ && PQstatus(conn_.get()) == CONNECTION_OK; }

PgResultHandle Connection::send(const QByteArray& text, const std::vector<const char*>& values) const
{
    return PgResultHandle(
        PQexecParams(conn_.get(), text.constData(), int(values.size()), nullptr, values.data(), nullptr, nullptr, 0));
}

bool Connection::broken() const { return PQstatus(conn_.get()) == CONNECTION_BAD; }

// A statement fails for want of its connection in more ways than libpq's status shows:
// after a server restart under an idle connection the first statement fails with "server
// closed the connection unexpectedly" (no server answered, so no SQLSTATE) while the
// status still reads CONNECTION_OK. A lost connection (class 08) and a server shutting
// down, crashed or starting up (57P01..57P03) say so in their SQLSTATE.
bool Connection::lostBy(const PGresult* result) const
{
    if (broken() || !result)
        return true;
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    if (!state || !*state)
        return true;
    const QByteArray code(state);
    return code.startsWith("08") || code == "57P01" || code == "57P02" || code == "57P03";
}

// One attempt; the transaction the old connection carried is gone either way.
void Connection::reconnect()
{
    PQreset(conn_.get());
    const bool wasInTransaction = transactionDepth_ > 0;
    if (broken())
        throw ConnectionLostError();
    if (wasInTransaction)
        throw ConnectionRestoredError();
}

namespace {

bool succeeded(const PGresult* result)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}


}  // namespace

DatabaseError databaseErrorOf(const PGresult* result, PGconn* conn, const QString& statement)
{
    if (!result)
        return DatabaseError(QString::fromUtf8(PQerrorMessage(conn)).trimmed());
    const QString sqlState = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_SQLSTATE));
    if (DatabaseError::isAdministratorRefusal(sqlState))
        return DatabaseError::administratorRefusal(
            QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)), sqlState);
    if (DatabaseError::isPrivilegeRefusal(sqlState))
        return DatabaseError::privilegeRefusal(privilegeRefusalText(statement));
    return DatabaseError(QString::fromUtf8(PQresultErrorMessage(result)).trimmed(), sqlState,
                         QString::fromUtf8(PQresultErrorField(result, PG_DIAG_CONSTRAINT_NAME)));
}

PgResultHandle Connection::execute(const QString& sql, const std::vector<ParameterText>& parameters, Statement kind)
{
    if (!conn_)
        throw DatabaseError(QStringLiteral("Нет подключения к базе данных"));
    // Broken before this statement was sent: nothing of it is lost, so after a
    // successful reconnect it simply runs.
    if (broken())
        reconnect();
    const QByteArray text = sql.toUtf8();
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const auto& p : parameters)
        values.push_back(p ? p->constData() : nullptr);

    PgResultHandle result = send(text, values);
    if (succeeded(result.get()))
        return result;
    if (!lostBy(result.get()))
        throw databaseErrorOf(result.get(), conn_.get(), sql);
    const bool repeatable = kind == Statement::Read && transactionDepth_ == 0;
    reconnect();
    if (!repeatable)
        throw ConnectionRestoredError();
    result = send(text, values);
    if (!succeeded(result.get()))
        throw databaseErrorOf(result.get(), conn_.get(), sql);
    return result;
}

// The start of a write: when it breaks, the user repeats the action as for any write.
void Connection::begin() { execute(QStringLiteral("begin")); }

void Connection::commit() { execute(QStringLiteral("commit")); }

void Connection::rollback() noexcept
{
    if (conn_)
        PgResultHandle(PQexec(conn_.get(), "rollback"));
}
