#include "cell_by_cell_rebuild.h"
#include "data_module.h"
#include "timesheet_fixture.h"
#include "timesheet/timesheet_window.h"

#include <QProgressBar>
#include <QPushButton>
#include <map>

namespace {

struct Entry {
    int worker;  // index into the fixture's workers
    QDate date;
    int shift;
    int hours;
    QString ok = QStringLiteral("no");
};

class TimesheetRebuildTest : public TimesheetFixture {
protected:
    void SetUp() override
    {
        TimesheetFixture::SetUp();
        for (const char* name : {"Иванов И.И.", "Петров П.П.", "Сидоров С.С.", "Козлов К.К."})
            workers.push_back(seed->worker(QString::fromUtf8(name)));
    }

    // Writes the records and returns the rows a rebuild of the month must leave, in the
    // form of monthRows(): each cell the day's sum, days without records empty.
    QStringList seedJournal(const std::vector<Entry>& entries, int month, int year)
    {
        std::map<std::pair<int, int>, std::map<int, int>> sums;
        for (const Entry& e : entries) {
            record(workers[size_t(e.worker)], e.date, e.shift, e.hours, 10.0, 10, 0, e.ok);
            if (e.date.month() == month && e.date.year() == year)
                sums[{workers[size_t(e.worker)], e.shift}][e.date.day()] += e.hours;
        }
        QStringList rows;
        for (const auto& [key, days] : sums) {
            QStringList cells;
            for (int day = 1; day <= 31; ++day)
                cells << (days.count(day) ? QString::number(days.at(day)) : QStringLiteral("-"));
            rows << QStringLiteral("%1/%2: %3").arg(key.first).arg(key.second).arg(cells.join(','));
        }
        return rows;
    }

    // Presses "Перестроить" and records the progress bar as it moves.
    void rebuild()
    {
        progress.clear();
        QObject::connect(Form19->PB, &QProgressBar::valueChanged, Form19,
                         [this](int value) { progress.push_back({value, !Form19->PB->isHidden()}); });
        Form19->Button1->click();
        QObject::disconnect(Form19->PB, &QProgressBar::valueChanged, Form19, nullptr);
    }

    std::vector<int> workers;
    std::vector<std::pair<int, bool>> progress;  // value, bar shown
};

// A month with several records a day, overtime, zero hours, records of any mark, and
// records of the neighbouring months.
std::vector<Entry> marchJournal()
{
    return {
        {0, QDate(2026, 3, 2), 1, 4},
        {0, QDate(2026, 3, 2), 1, 4},
        {0, QDate(2026, 3, 2), 4, 3},
        {0, QDate(2026, 3, 3), 1, 11},
        {0, QDate(2026, 3, 31), 1, 2, QStringLiteral("ok")},
        {1, QDate(2026, 3, 1), 2, 8, QStringLiteral("ta")},
        {1, QDate(2026, 3, 15), 2, 0},
        {1, QDate(2026, 3, 15), 3, 5, QStringLiteral("<null>")},
        {2, QDate(2026, 3, 20), 3, 8},
        {2, QDate(2026, 3, 20), 3, 1},
        {2, QDate(2026, 2, 28), 3, 8},
        {3, QDate(2026, 4, 1), 1, 8},
    };
}

TEST_F(TimesheetRebuildTest, EveryCellIsTheDaySumAndRowsExistOnlyWhereRecordsDo)
{
    const QStringList expected = seedJournal(marchJournal(), 3, 2026);
    // Stale rows of the month go, also of a worker who has no record left in it.
    timesheetRow(workers[0], 1, 3, 2026, {{2, 1}, {9, 8}});
    timesheetRow(workers[3], 1, 3, 2026, {{5, 8}});
    // Other months and years stay as they are.
    timesheetRow(workers[0], 1, 2, 2026, {{2, 7}});
    timesheetRow(workers[0], 1, 3, 2025, {{2, 7}});
    timesheetRow(workers[3], 1, 4, 2026, {{1, 3}});
    const QStringList february = monthRows(2, 2026, true);
    const QStringList lastYear = monthRows(3, 2025, true);
    const QStringList april = monthRows(4, 2026, true);

    loadMonth(3, 2026);
    rebuild();

    EXPECT_EQ(monthRows(3, 2026), expected);
    EXPECT_EQ(monthRows(2, 2026, true), february);
    EXPECT_EQ(monthRows(3, 2025, true), lastYear);
    EXPECT_EQ(monthRows(4, 2026, true), april);
    EXPECT_TRUE(fakes->messages.shown.empty());
    // The grids show the rebuilt month again.
    EXPECT_TRUE(DataModule6->H_Tabel_1.isOpen());
    EXPECT_EQ(DataModule6->H_Tabel_1.fieldByName("summ").asInteger(), 21);
    EXPECT_TRUE(Form19->PB->isHidden());
}

TEST_F(TimesheetRebuildTest, GivesTheSameMonthAsTheCellByCellRebuild)
{
    std::vector<Entry> entries = marchJournal();
    // A denser month: every worker in two shifts on most days.
    for (int day = 1; day <= 31; ++day)
        for (int w = 0; w < 4; ++w)
            if ((day + w) % 5 != 0)
                entries.push_back({w, QDate(2026, 3, day), 1 + (day + w) % 4, (day * 3 + w) % 12});
    seedJournal(entries, 3, 2026);
    timesheetRow(workers[3], 2, 3, 2026, {{7, 8}});

    loadMonth(3, 2026);
    rebuild();
    const QStringList rebuilt = monthRows(3, 2026);

    rebuildMonthCellByCell(*DataModule6, Form19->dt, 3, 2026);
    EXPECT_EQ(rebuilt, monthRows(3, 2026));
    EXPECT_FALSE(rebuilt.isEmpty());
}

TEST_F(TimesheetRebuildTest, RecordsWithoutHoursCountAsZeroAndRecordsWithoutWorkerOrShiftAreLeftOut)
{
    db->exec(QStringLiteral("insert into accounts_dep.smena (w_id, data, smena, time) values "
                            "(%1, '2026-03-03', 1, null), (%1, '2026-03-04', 1, null), (%1, '2026-03-04', 1, 5), "
                            "(null, '2026-03-05', 1, 8), (%2, '2026-03-05', null, 8)")
                 .arg(workers[0])
                 .arg(workers[1]));
    loadMonth(3, 2026);
    rebuild();
    EXPECT_TRUE(fakes->messages.shown.empty());
    QStringList cells(31, "-");
    cells[2] = "0";
    cells[3] = "5";
    EXPECT_EQ(monthRows(3, 2026), QStringList({QStringLiteral("%1/1: %2").arg(workers[0]).arg(cells.join(','))}));
}

TEST_F(TimesheetRebuildTest, AMonthWithoutRecordsLeavesNoRows)
{
    record(workers[0], QDate(2026, 5, 1), 1, 8);
    timesheetRow(workers[0], 1, 4, 2026, {{1, 8}});
    timesheetRow(workers[1], 4, 4, 2026, {{2, 3}});
    loadMonth(4, 2026);
    rebuild();
    EXPECT_TRUE(monthRows(4, 2026).isEmpty());
    EXPECT_TRUE(DataModule6->H_Tabel_1.isOpen());
    EXPECT_EQ(DataModule6->H_Tabel_1.recordCount(), 0);
}

TEST_F(TimesheetRebuildTest, TheProgressBarCountsTheDaysOfTheMonth)
{
    record(workers[0], QDate(2024, 2, 29), 1, 8);
    loadMonth(2, 2024);
    rebuild();
    EXPECT_EQ(Form19->PB->maximum(), 29);
    EXPECT_EQ(Form19->PB->minimum(), 1);
    // Shown from the first day to the last, hidden afterwards.
    std::vector<std::pair<int, bool>> expected;
    for (int day = 1; day <= 29; ++day)
        expected.push_back({day, true});
    EXPECT_EQ(progress, expected);
    EXPECT_TRUE(Form19->PB->isHidden());
    EXPECT_EQ(monthRows(2, 2024).size(), 1);
}

TEST_F(TimesheetRebuildTest, AFailureMidwayLeavesTheMonthAsItWas)
{
    seedJournal(marchJournal(), 3, 2026);
    timesheetRow(workers[0], 1, 3, 2026, {{2, 1}, {9, 8}});
    timesheetRow(workers[3], 1, 3, 2026, {{5, 8}});
    timesheetRow(workers[1], 4, 3, 2026, {{6, 2}});
    const QStringList before = monthRows(3, 2026, true);
    // The third row written fails.
    db->exec("create sequence timesheet_writes");
    db->exec("create function fail_third_write() returns trigger language plpgsql as $$ begin "
             "if nextval('timesheet_writes') = 3 then raise exception 'запись табеля не удалась'; end if; "
             "return new; end $$");
    db->exec("create trigger fail_third_write before insert on accounts_dep.h_tabel "
             "for each row execute function fail_third_write()");

    loadMonth(3, 2026);
    const int listed = DataModule6->timesheetQuery(1).recordCount();
    ASSERT_GT(listed, 0);
    rebuild();

    EXPECT_EQ(monthRows(3, 2026, true), before);
    // The grids show the month again, as it is.
    for (int shift = 1; shift <= 3; ++shift)
        EXPECT_TRUE(DataModule6->timesheetQuery(shift).isOpen()) << shift;
    EXPECT_EQ(DataModule6->timesheetQuery(1).recordCount(), listed);
    ASSERT_EQ(fakes->messages.shown.size(), 1u);
    EXPECT_TRUE(fakes->messages.shown[0].text.contains("запись табеля не удалась"));
    EXPECT_EQ(fakes->messages.shown[0].caption, "Ошибка");
    EXPECT_TRUE(Form19->PB->isHidden());

    // Once the fault is gone the next rebuild goes through.
    db->exec("drop trigger fail_third_write on accounts_dep.h_tabel");
    rebuild();
    EXPECT_EQ(monthRows(3, 2026).size(), 5);
}

}  // namespace
