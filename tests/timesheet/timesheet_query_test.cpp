#include "data_grid.h"
#include "data_module.h"
#include "timesheet_fixture.h"
#include "timesheet/timesheet_window.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QPushButton>

namespace {

class TimesheetQueryTest : public TimesheetFixture {
protected:
    // Column values of the listed rows of a shift's query, "fio summ average_price cena_all".
    QStringList listed(int shift)
    {
        Dataset& query = DataModule6->timesheetQuery(shift);
        QStringList rows;
        for (query.first(); !query.eof(); query.next()) {
            QString row = query.fieldByName("fio").asString() + ' ' + query.fieldByName("summ").asString();
            if (shift == 1)
                row += ' ' + query.fieldByName("average_price").asString() + ' ' + query.fieldByName("cena_all").asString();
            rows << row;
        }
        return rows;
    }
};

TEST_F(TimesheetQueryTest, PayCoversEveryShiftOfTheMonthWhileTheAverageDividesByTheShiftsHours)
{
    const int ivanov = seed->worker("Иванов И.И.");
    const int petrov = seed->worker("Петров П.П.");
    const int sidorov = seed->worker("Сидоров С.С.");
    const int kozlov = seed->worker("Козлов К.К.");
    // December: the pay period runs to the 31st inclusive and stops before 1 January.
    record(ivanov, QDate(2025, 12, 1), 1, 8, 10.0, 10, 2);     // 80
    record(ivanov, QDate(2025, 12, 2), 2, 3, 2.5, 4);          // 10
    record(ivanov, QDate(2025, 12, 31), 4, 2, 1.5, 10);        // 15
    record(ivanov, QDate(2026, 1, 1), 1, 8, 100.0, 10);        // next month
    record(ivanov, QDate(2025, 11, 30), 1, 8, 100.0, 10);      // previous month
    timesheetRow(ivanov, 1, 12, 2025, {{1, 8}, {2, 3}});
    timesheetRow(ivanov, 2, 12, 2025, {{2, 3}});
    // A stored row without journal records in the month is not listed.
    record(petrov, QDate(2026, 1, 5), 1, 8);
    timesheetRow(petrov, 1, 12, 2025, {{5, 8}});
    // Hours that are all empty or 0 give an average of 0.
    record(sidorov, QDate(2025, 12, 3), 1, 0, 3.0, 5);
    timesheetRow(sidorov, 1, 12, 2025, {{3, 0}});
    // Another year's row of the same month is not listed.
    record(kozlov, QDate(2025, 12, 3), 1, 8);
    timesheetRow(kozlov, 1, 12, 2024, {{3, 8}});

    loadMonth(12, 2025);
    EXPECT_EQ(listed(1), QStringList({"Иванов И.И. 11 9.55 105.00", "Сидоров С.С. 0 0.00 15.00"}));
    EXPECT_EQ(listed(2), QStringList({"Иванов И.И. 3"}));
    EXPECT_TRUE(listed(3).isEmpty());
    EXPECT_TRUE(DataModule6->H_Tabel_3.isOpen());

    // The grid shows the numbers with the user's decimal separator.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QAbstractItemModelTester tester(Form19->DBGrid1->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    auto* model = Form19->DBGrid1->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), "Иванов И.И.");
    EXPECT_EQ(model->index(0, 1).data().toString(), "8");
    EXPECT_EQ(model->index(0, 3).data().toString(), "");
    EXPECT_EQ(model->index(0, 32).data().toString(), "11");
    EXPECT_EQ(model->index(0, 33).data().toString(), "9,55");
    EXPECT_EQ(model->index(0, 34).data().toString(), "105,00");
    QLocale::setDefault(QLocale::c());
}

TEST_F(TimesheetQueryTest, RefreshRereadsTheLoadedMonth)
{
    const int ivanov = seed->worker("Иванов И.И.");
    record(ivanov, QDate(2026, 3, 2), 3, 8);
    timesheetRow(ivanov, 3, 3, 2026, {{2, 8}});
    loadMonth(3, 2026);
    EXPECT_EQ(listed(3), QStringList({"Иванов И.И. 8"}));

    db->exec("update accounts_dep.h_tabel set d3 = 4");
    EXPECT_EQ(listed(3), QStringList({"Иванов И.И. 8"}));
    Form19->Button5->click();
    EXPECT_EQ(listed(3), QStringList({"Иванов И.И. 12"}));
    EXPECT_EQ(DataModule6->H_Tabel_3.param("mnth").toInt(), 3);
}

}  // namespace
