#pragma once

#include "app_fixture.h"

#include <QDate>
#include <QStringList>

// The whole program on a fresh database, with the timesheet window at hand.
class TimesheetFixture : public AppFixture {
protected:
    // A journal record of a worker; the item and operation do not matter to the timesheet.
    int record(int worker, const QDate& date, int shift, int hours, double price = 10.0, int quantity = 10,
               int rejects = 0, const QString& ok = QStringLiteral("no"));
    // A stored timesheet row with some day cells set ({day, hours}); returns its id.
    int timesheetRow(int worker, int shift, int month, int year, const std::vector<std::pair<int, int>>& cells);
    // Selects a month and year in the window and loads it as a change of month does.
    void loadMonth(int month, int year);
    // The stored rows of a month, "worker/shift: d1,d2,…,d31" with "-" for an empty cell,
    // ordered by worker and shift; with ids when asked.
    QStringList monthRows(int month, int year, bool withIds = false);
};
