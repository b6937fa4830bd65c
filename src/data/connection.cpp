#include "connection.h"

#include "connection_string.h"
#include "database_error.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

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

void Connection::open(const QString& odbcConnectionString)
{
    close();
    const auto pairs = connection_string::toLibpqParameters(odbcConnectionString);
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
    keywords.push_back(nullptr);
    values.push_back(nullptr);

    PgConnHandle conn(PQconnectdbParams(keywords.data(), values.data(), 0));
    if (!conn || PQstatus(conn.get()) != CONNECTION_OK) {
        const QString message = conn ? QString::fromUtf8(PQerrorMessage(conn.get())).trimmed()
                                     : QStringLiteral("out of memory");
        throw DatabaseError(message);
    }
    conn_ = std::move(conn);
    transactionDepth_ = 0;
}

void Connection::close() { conn_.reset(); }

bool Connection::isOpen() const { return conn_ && PQstatus(conn_.get()) == CONNECTION_OK; }

PgResultHandle Connection::execute(const QString& sql, const std::vector<ParameterText>& parameters)
{
    if (!conn_)
        throw DatabaseError(QStringLiteral("Нет подключения к базе данных"));
    const QByteArray text = sql.toUtf8();
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const auto& p : parameters)
        values.push_back(p ? p->constData() : nullptr);

    PgResultHandle result(PQexecParams(conn_.get(), text.constData(), int(values.size()), nullptr,
                                       values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char* message = result ? PQresultErrorMessage(result.get()) : PQerrorMessage(conn_.get());
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        throw DatabaseError(QString::fromUtf8(message).trimmed(), QString::fromLatin1(state));
    }
    return result;
}

void Connection::begin() { execute(QStringLiteral("begin")); }

void Connection::commit() { execute(QStringLiteral("commit")); }

void Connection::rollback() noexcept
{
    if (conn_)
        PgResultHandle(PQexec(conn_.get(), "rollback"));
}
