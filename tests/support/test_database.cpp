#include "test_database.h"

#include "connection_string.h"
#include "database_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

QString requiredEnvironment(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) + " is not set: run the tests through the test command, "
                                                     "which starts the test database server");
    return value;
}

void adminExec(const QString& sql)
{
    Connection admin;
    admin.open(connection_string::compose(QStringLiteral("postgres"), TestDatabase::host()));
    admin.execute(sql);
}

// The test command keeps the server in the folder above its socket folder.
void runClusterScript(const QString& action)
{
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TABEL_PG_THROWAWAY"), QStringLiteral("1"));
    script.setProcessEnvironment(environment);
    script.setProcessChannelMode(QProcess::MergedChannels);
    const QString folder = QFileInfo(TestDatabase::host()).absolutePath();
    script.start(QStringLiteral(TABEL_PG_CLUSTER_SCRIPT), {action, folder});
    if (!script.waitForFinished(60000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        throw std::runtime_error("pg-cluster.sh " + action.toStdString() + " failed: " + script.readAll().toStdString());
}

}  // namespace

void TestDatabase::crashServer()
{
    // The throwaway test server acknowledges a commit before it is on disk; what the test
    // wrote must outlive the crash, as it would on a server that waits for its disk.
    exec(QStringLiteral("checkpoint"));
    runClusterScript(QStringLiteral("crash"));
}

void TestDatabase::startServer()
{
    runClusterScript(QStringLiteral("start"));
    connection_.open(odbcConnectionString());
}

QString TestDatabase::host() { return requiredEnvironment("TABEL_TEST_PGHOST"); }

TestDatabase::TestDatabase()
{
    static int counter = 0;
    name_ = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    const QString tmpl = requiredEnvironment("TABEL_TEST_TEMPLATE");
    adminExec(QStringLiteral("create database %1 template %2").arg(name_, tmpl));
    connection_.open(odbcConnectionString());
}

TestDatabase::~TestDatabase()
{
    connection_.close();
    try {
        adminExec(QStringLiteral("drop database if exists %1 with (force)").arg(name_));
    } catch (const DatabaseError& error) {
        ADD_FAILURE() << "could not drop the test database: " << error.text().toStdString();
    }
}

QStringList TestDatabase::programArguments() const
{
    return {QStringLiteral("tabel"), name_, host()};
}

QString TestDatabase::odbcConnectionString() const { return connection_string::compose(name_, host()); }

void TestDatabase::exec(const QString& sql) { connection_.execute(sql); }

void TestDatabase::installMonthLock()
{
    QFile file(QStringLiteral(TABEL_MONTH_LOCK_SCRIPT));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " TABEL_MONTH_LOCK_SCRIPT);
    // Several statements in one go, which a bound statement does not take.
    const PgResultHandle result(PQexec(connection_.raw(), file.readAll().constData()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        throw std::runtime_error(PQresultErrorMessage(result.get()));
}

QString TestDatabase::scalar(const QString& sql)
{
    const PgResultHandle result = connection_.execute(sql);
    if (PQntuples(result.get()) == 0 || PQgetisnull(result.get(), 0, 0))
        return QStringLiteral("<null>");
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

QStringList TestDatabase::column(const QString& sql)
{
    const PgResultHandle result = connection_.execute(sql);
    QStringList values;
    for (int r = 0; r < PQntuples(result.get()); ++r)
        values << (PQgetisnull(result.get(), r, 0) ? QStringLiteral("<null>")
                                                   : QString::fromUtf8(PQgetvalue(result.get(), r, 0)));
    return values;
}
