#pragma once

#include "data_module.h"
#include "test_database.h"

#include <atomic>
#include <functional>
#include <thread>

// A second copy of the program on the test database: a data module with a connection of
// its own, working in a thread of its own so that the program under test can wait for it.
//
// holdUntilWaitedFor runs its work in one transaction and keeps that transaction (with
// every lock the work took) open until some other connection waits for a lock, then
// commits. So "the other workstation is in the middle of its save" is a fixed point of
// the test, not a matter of timing.
class OtherWorkstation {
public:
    explicit OtherWorkstation(TestDatabase& db);
    ~OtherWorkstation();

    // Starts the work; returns once it has run and its transaction holds its locks.
    void holdUntilWaitedFor(std::function<void(TDataModule6&)> work);
    // Waits for the commit; false when nobody waited for a lock within 10 seconds.
    bool finish();

    TDataModule6 module;

private:
    Connection watcher_;
    std::thread thread_;
    std::atomic<bool> holding_ = false;
    std::atomic<bool> waitedFor_ = false;
};

// The backend of every other connection to the test database ends, as when the server
// restarts or the network drops: the program's connection is broken without its knowing.
void terminateOtherConnections(TestDatabase& db);
