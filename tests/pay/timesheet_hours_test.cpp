#include "data_module.h"
#include "seed.h"
#include "test_database.h"
#include "timesheet_hours.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

using namespace timesheet_hours;

namespace {

const QDate kDay(2026, 12, 10);

class TimesheetHoursTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        j = seed.smallJournal();
        module.ADO_DB.open(db.odbcConnectionString());
    }

    int record(int hours, const QDate& date = kDay, int shift = 1, int worker = 0)
    {
        Seed::Record r = Seed::recordOf(j, date, shift, worker);
        r.hours = hours;
        return seed.record(r);
    }

    QString where(int shift, const QDate& date, int worker = 0) const
    {
        return QStringLiteral(" from accounts_dep.h_tabel where w_id=%1 and smena=%2 and month=%3 and year=%4")
            .arg(worker ? worker : j.worker)
            .arg(shift)
            .arg(date.month())
            .arg(date.year());
    }
    // The stored cell of the date; "<null>" when empty or when there is no row.
    QString cell(const QDate& date, int shift = 1, int worker = 0)
    {
        return db.scalar(QStringLiteral("select d%1").arg(date.day()) + where(shift, date, worker));
    }
    int rows(const QDate& date, int shift = 1, int worker = 0)
    {
        return db.count(QStringLiteral("select count(*)") + where(shift, date, worker));
    }
    // The day cells of the row that hold a value, as "dN=value".
    QStringList filledCells(const QDate& date, int shift = 1)
    {
        QStringList filled;
        for (int day = 1; day <= 31; ++day) {
            const QString value = db.scalar(QStringLiteral("select d%1").arg(day) + where(shift, date));
            if (value != QStringLiteral("<null>"))
                filled << QStringLiteral("d%1=%2").arg(day).arg(value);
        }
        return filled;
    }
    void deleteRecord(int id) { db.exec(QStringLiteral("delete from accounts_dep.smena where id=%1").arg(id)); }

    TestDatabase db;
    Seed seed{db};
    TDataModule6 module{[](const QString&) {}};
    Seed::Journal j{};
};

TEST_F(TimesheetHoursTest, DayHoursSumsEveryRecordOfWorkerShiftAndDate)
{
    EXPECT_EQ(DayHours(module, j.worker, 1, kDay), 0);
    record(3);
    record(5);
    record(7, kDay, 2);
    record(11, kDay.addDays(1));
    record(13, kDay, 1, seed.worker("Петров П.П."));
    EXPECT_EQ(DayHours(module, j.worker, 1, kDay), 8);
    EXPECT_EQ(DayHours(module, j.worker, 2, kDay), 7);
    EXPECT_FALSE(module.Control.isOpen());
}

TEST_F(TimesheetHoursTest, FirstWriteCreatesTheRowWithOnlyThatDaySet)
{
    struct Case {
        QDate date;
        int shift;
        int hours;
        QString filled;
    };
    const Case cases[] = {
        {kDay, 1, 8, "d10=8"},
        {QDate(2026, 12, 31), 2, 6, "d31=6"},
        {QDate(2026, 3, 1), 3, 7, "d1=7"},
        {QDate(2026, 11, 5), 4, 2, "d5=2"},
        {QDate(2026, 10, 9), 1, 0, "d9=0"},  // no hours still gives a row with 0
    };
    for (const Case& c : cases) {
        record(c.hours, c.date, c.shift);
        HoursAfterWrite(module, j.worker, c.shift, c.date);
        EXPECT_EQ(rows(c.date, c.shift), 1) << c.filled.toStdString();
        EXPECT_EQ(filledCells(c.date, c.shift), QStringList{c.filled});
    }
}

TEST_F(TimesheetHoursTest, LaterWritesUpdateTheCellWithTheDaySum)
{
    record(3);
    HoursAfterWrite(module, j.worker, 1, kDay);
    record(5);
    HoursAfterWrite(module, j.worker, 1, kDay);
    record(4, kDay.addDays(1));
    HoursAfterWrite(module, j.worker, 1, kDay.addDays(1));
    EXPECT_EQ(rows(kDay), 1);
    EXPECT_EQ(filledCells(kDay), QStringList({"d10=8", "d11=4"}));

    // A record changed to 0 hours writes 0 into the cell.
    db.exec("update accounts_dep.smena set time=0 where data='2026-12-11'");
    HoursAfterWrite(module, j.worker, 1, kDay.addDays(1));
    EXPECT_EQ(cell(kDay.addDays(1)), "0");
}

TEST_F(TimesheetHoursTest, DeletionLeavesTheOtherRecordsHoursOrAnEmptyCell)
{
    const int first = record(3);
    const int second = record(5);
    record(4, kDay.addDays(1));
    HoursAfterWrite(module, j.worker, 1, kDay);
    HoursAfterWrite(module, j.worker, 1, kDay.addDays(1));

    deleteRecord(first);
    HoursAfterDelete(module, j.worker, 1, kDay);
    EXPECT_EQ(cell(kDay), "5");

    deleteRecord(second);
    HoursAfterDelete(module, j.worker, 1, kDay);
    EXPECT_EQ(filledCells(kDay), QStringList({"d11=4"}));
    EXPECT_EQ(rows(kDay), 1);
}

TEST_F(TimesheetHoursTest, DeletionWithoutARowCreatesNone)
{
    const int first = record(3, kDay, 4);
    record(5, kDay, 4);
    deleteRecord(first);
    HoursAfterDelete(module, j.worker, 4, kDay);
    EXPECT_EQ(rows(kDay, 4), 0);
}

TEST_F(TimesheetHoursTest, ClearingACellTouchesNoOtherCellRowOrWorker)
{
    const int other = seed.worker("Петров П.П.");
    for (int worker : {j.worker, other})
        for (int day : {9, 10, 11})
            WriteHoursCell(module, keyOf(worker, 1, kDay), day, day);
    WriteHoursCell(module, keyOf(j.worker, 2, kDay), 10, 6);

    ClearHoursCell(module, keyOf(j.worker, 1, kDay), 10);
    EXPECT_EQ(filledCells(kDay), QStringList({"d9=9", "d11=11"}));
    EXPECT_EQ(cell(kDay, 1, other), "10");
    EXPECT_EQ(cell(kDay, 2), "6");
}

// Two workstations write the first record of one worker, shift and month at once:
// the second waits for the first and updates the row the first inserted.
TEST_F(TimesheetHoursTest, ConcurrentFirstWritesMakeOneRowWithTheFullSum)
{
    TDataModule6 other([](const QString&) {});
    other.ADO_DB.open(db.odbcConnectionString());
    const QString insert = QStringLiteral(
        "insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok) "
        "values (%1, %2, %3, 10, 1, 0, '2026-12-10', 1, %4, %4, 'no')");
    std::atomic<bool> otherDone = false;
    std::thread second;

    module.ADO_DB.inTransaction([&] {
        module.ADO_DB.execute(insert.arg(j.worker).arg(j.item).arg(j.operation).arg(3));
        HoursAfterWrite(module, j.worker, 1, kDay);
        second = std::thread([&] {
            try {
                other.ADO_DB.inTransaction([&] {
                    other.ADO_DB.execute(insert.arg(j.worker).arg(j.item).arg(j.operation).arg(5));
                    HoursAfterWrite(other, j.worker, 1, kDay);
                });
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
            otherDone = true;
        });
        // Hold the first transaction open until the second is waiting for the row.
        for (int tries = 0; tries < 500 && db.count("select count(*) from pg_locks where locktype='advisory' and not granted") == 0;
             ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(otherDone);
    });
    second.join();

    EXPECT_EQ(rows(kDay), 1);
    EXPECT_EQ(cell(kDay), "8");
}

}  // namespace
