#include "other_workstation.h"

#include "database_error.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

int waitingForLocks(Connection& watcher)
{
    const PgResultHandle result = watcher.execute(QStringLiteral("select count(*) from pg_locks l join pg_stat_activity a on a.pid = l.pid "
                                                             "where not l.granted and a.datname = current_database()"));
    return QByteArray(PQgetvalue(result.get(), 0, 0)).toInt();
}

}  // namespace

OtherWorkstation::OtherWorkstation(TestDatabase& db) : module([](const QString&) {})
{
    module.ADO_DB.open(db.odbcConnectionString());
    watcher_.open(db.odbcConnectionString());
}

OtherWorkstation::~OtherWorkstation()
{
    if (thread_.joinable())
        thread_.join();
}

void OtherWorkstation::holdUntilWaitedFor(std::function<void(TDataModule6&)> work)
{
    thread_ = std::thread([this, work] {
        try {
            module.ADO_DB.inTransaction([&] {
                work(module);
                holding_ = true;
                for (int tries = 0; tries < 1000 && waitingForLocks(watcher_) == 0; ++tries)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                waitedFor_ = waitingForLocks(watcher_) > 0;
            });
        } catch (const DatabaseError& error) {
            ADD_FAILURE() << "the other workstation failed: " << error.text().toStdString();
        }
        holding_ = true;
    });
    while (!holding_)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool OtherWorkstation::finish()
{
    if (thread_.joinable())
        thread_.join();
    return waitedFor_;
}

void terminateOtherConnections(TestDatabase& db)
{
    db.scalar(QStringLiteral("select count(pg_terminate_backend(pid)) from pg_stat_activity "
                             "where datname = current_database() and pid <> pg_backend_pid()"));
    // A terminated backend is gone a moment after it was told to end.
    for (int tries = 0; tries < 200 && db.count(QStringLiteral("select count(*) from pg_stat_activity where datname = "
                                                                 "current_database() and pid <> pg_backend_pid()")) > 0;
         ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}
