#pragma once

#include "connection.h"

#include <QString>
#include <QStringList>

// A database of its own for one test, cloned from the template the test command built
// from db/schema.sql on the private test server. Dropped when the test ends.
// The server is named by TABEL_TEST_PGHOST (socket folder) and TABEL_TEST_TEMPLATE;
// without them the test fails.
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const QString& name() const { return name_; }
    static QString host();
    // The command line that points the program at this database.
    QStringList programArguments() const;
    QString odbcConnectionString() const;

    // A connection of the test's own, for seeding and for reading back what the program wrote.
    void exec(const QString& sql);
    QString scalar(const QString& sql);  // first column of the first row; "<null>" for null
    QStringList column(const QString& sql);  // first column of every row
    int count(const QString& sql) { return scalar(sql).toInt(); }
    // The administrator's script of closed months and change history
    // (db/admin/month-lock-and-audit.sql), run as psql runs it, as the owner.
    void installMonthLock();

    // The test server stopped at once (its connections cut without a word, as when the
    // machine or the server process dies) and started again; this database's own
    // connection is opened anew. Only for tests that run alone (RUN_SERIAL): every
    // connection to the server breaks.
    void crashServer();
    void startServer();

private:
    QString name_;
    Connection connection_;
};
