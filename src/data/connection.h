#pragma once

#include "database_error.h"
#include "pg_handles.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

// A bound statement parameter in libpq's text form; nullopt is SQL NULL.
using ParameterText = std::optional<QByteArray>;

// Text form of a value for a statement parameter. Numbers always carry a full stop,
// dates are ISO, whatever the user's locale.
ParameterText toParameterText(const QVariant& value);

// The error a failed statement becomes: the server's text with its SQLSTATE and constraint,
// or, for a refusal of the administrator's scripts, their message as it stands, or, for a
// privilege the person's role lacks, the program's own words for the refused statement.
DatabaseError databaseErrorOf(const PGresult* result, PGconn* conn, const QString& statement = {});

// The program's one connection to the database (libpq). Every statement goes through
// PQexecParams; a failure becomes a DatabaseError with the server's text.
//
// A connection found broken (server restarted, network dropped, backend terminated),
// before a statement or by the way the statement failed, is connected again once
// (libpq's reset) before the statement gives up with ConnectionLostError. A read that
// broke outside a transaction is then sent again; a write, or anything inside a
// transaction, may or may not have reached the server and ends with
// ConnectionRestoredError for the user to repeat.
class Connection {
public:
    // Whether a statement may be sent again after the connection broke under it.
    enum class Statement { Write, Read };

    Connection() = default;

    // Opens the connection described by an ODBC-form connection string.
    void open(const QString& odbcConnectionString);
    // Opens the connection described by libpq keyword/value pairs; libpq takes what they
    // leave unsaid from the environment, the service file and the password file.
    void open(const std::vector<std::pair<QString, QString>>& parameters);
    void close();
    // The name the server shows for this connection (pg_stat_activity, the change
    // history); kept for every later open, and set at once on an open connection.
    void setApplicationName(const QString& name);
    bool isOpen() const;

    PgResultHandle execute(const QString& sql, const std::vector<ParameterText>& parameters = {},
                           Statement kind = Statement::Write);
    // A statement that only reads: sent again when the connection broke under it.
    PgResultHandle query(const QString& sql, const std::vector<ParameterText>& parameters = {})
    {
        return execute(sql, parameters, Statement::Read);
    }

    // Runs work in one transaction: commits when it returns, rolls back when it throws.
    // Nested calls join the outer transaction.
    template <typename Work>
    void inTransaction(Work&& work);
    bool transactionOpen() const { return transactionDepth_ > 0; }
    // Advisory locks already held by the open transaction (see locks.h), so that taking
    // one again costs no round trip; forgotten when the transaction ends.
    bool holdsLock(const QString& lock) const { return heldLocks_.contains(lock); }
    void rememberLock(const QString& lock) { heldLocks_.insert(lock); }

    PGconn* raw() const { return conn_.get(); }

private:
    void begin();
    void commit();
    void rollback() noexcept;
    PgResultHandle send(const QByteArray& text, const std::vector<const char*>& values) const;
    bool broken() const;
    bool lostBy(const PGresult* failure) const;
    void reconnect();

    PgConnHandle conn_;
    int transactionDepth_ = 0;
    QSet<QString> heldLocks_;
    QString applicationName_;
};

template <typename Work>
void Connection::inTransaction(Work&& work)
{
    if (transactionDepth_ > 0) {
        work();
        return;
    }
    begin();
    transactionDepth_ = 1;
    try {
        work();
    } catch (...) {
        transactionDepth_ = 0;
        heldLocks_.clear();
        rollback();
        throw;
    }
    transactionDepth_ = 0;
    heldLocks_.clear();
    commit();
}
