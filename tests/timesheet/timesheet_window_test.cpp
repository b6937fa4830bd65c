#include "data_grid.h"
#include "data_module.h"
#include "app/journal_window.h"
#include "timesheet_fixture.h"
#include "timesheet/timesheet_window.h"
#include "date_box.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

const QColor kRed(255, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kLightGreen(192, 220, 192);

class TimesheetWindowTest : public TimesheetFixture {
protected:
    QStringList titles(DataGrid* grid)
    {
        QStringList t;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            t << grid->model()->headerData(c, Qt::Horizontal).toString();
        return t;
    }

    // Days whose column title has this colour (an invalid colour: the normal one).
    std::vector<int> daysTitled(DataGrid* grid, const QColor& color)
    {
        std::vector<int> days;
        for (int day = 1; day <= 31; ++day) {
            const QVariant title = grid->model()->headerData(day, Qt::Horizontal, Qt::ForegroundRole);
            if (title.value<QColor>() == color)
                days.push_back(day);
        }
        return days;
    }

    // The look the grid's own styler gives a cell.
    CellLook look(DataGrid* grid, int column, std::optional<QString> value, bool selected = false)
    {
        CellContext cell;
        cell.column = column;
        cell.value = std::move(value);
        cell.selected = selected;
        CellLook result;
        grid->cellStyler()(cell, result);
        return result;
    }

    // Opens the timesheet from the journal window's menu on a journal date.
    void openFromJournal(const QDate& journalDate, ModalAction whileShown)
    {
        logIn("8573", [&] {
            fakes->modalActions.push_back(std::move(whileShown));
            Form1->DateT->setDate(journalDate);
            Form1->N11->trigger();
        });
    }
};

TEST_F(TimesheetWindowTest, LaysOutThreeShiftTabsWithTheirColumns)
{
    EXPECT_EQ(Form19->windowTitle(), "Табель по времени");
    EXPECT_EQ(Form19->PageControl1->count(), 3);
    EXPECT_EQ(Form19->PageControl1->tabText(0), "Смена №1");
    EXPECT_EQ(Form19->PageControl1->tabText(2), "Смена №3");
    QStringList expected{"Фамилия И. О."};
    for (int day = 1; day <= 31; ++day)
        expected << QString::number(day);
    expected << "Итого";
    EXPECT_EQ(titles(Form19->DBGrid2), expected);
    EXPECT_EQ(titles(Form19->DBGrid3), expected);
    EXPECT_EQ(titles(Form19->DBGrid1), expected + QStringList({"Ср. сдел.", "Цена всего"}));
    EXPECT_EQ(Form19->DBGrid1->columnWidth(0), 208);
    // A day is 20 wide, or what its title needs in the font in use when that is more.
    EXPECT_GE(Form19->DBGrid1->columnWidth(31), 20);
    EXPECT_LE(Form19->DBGrid1->columnWidth(31), std::max(20, Form19->DBGrid1->horizontalHeader()->sectionSizeHint(31)));
    EXPECT_EQ(Form19->DBGrid1->columnWidth(32), 47);
    EXPECT_EQ(Form19->DBGrid1->dataset(), &DataModule6->H_Tabel_1);
    EXPECT_EQ(Form19->DBGrid3->dataset(), &DataModule6->H_Tabel_3);

    EXPECT_EQ(Form19->ComboBox1->count(), 12);
    EXPECT_EQ(Form19->ComboBox1->itemText(0), "Январь");
    EXPECT_EQ(Form19->ComboBox1->itemText(11), "Декабрь");
    EXPECT_EQ(Form19->Button1->text(), "Перестроить");
    EXPECT_EQ(Form19->Button2->text(), "Excel");
    EXPECT_EQ(Form19->Button6->text(), "Печать");
    EXPECT_EQ(Form19->Button5->text(), "Обновить");
    EXPECT_EQ(Form19->Button4->text(), "Выход");
    EXPECT_TRUE(Form19->PB->isHidden());
    EXPECT_EQ(Form19->PB->minimum(), 1);
}

// The month's pay and the pay per hour show exactly two decimals in the user's format.
TEST_F(TimesheetWindowTest, PayColumnsShowTwoDecimalsInTheUsersFormat)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const int ivanov = seed->worker("Иванов И.И."), petrov = seed->worker("Петров П.П.");
    record(ivanov, QDate(2026, 8, 3), 1, 8, 302.1);
    timesheetRow(ivanov, 1, 8, 2026, {{3, 8}});
    record(petrov, QDate(2026, 8, 3), 1, 10, 4.03);
    timesheetRow(petrov, 1, 8, 2026, {{3, 10}});
    loadMonth(8, 2026);
    const QAbstractItemModel& model = *Form19->DBGrid1->model();
    EXPECT_EQ(columnTexts(model, 33), QStringList({"377,63", "4,03"}));
    EXPECT_EQ(columnTexts(model, 34), QStringList({QString::fromUtf8("3\u00a0021,00"), "40,30"}));
    QLocale::setDefault(QLocale::c());
}

TEST_F(TimesheetWindowTest, YearListRunsFromTheFirstYearToTheNextOne)
{
    fakes->clock = QDateTime(QDate(2031, 1, 2), QTime(8, 0));
    TForm19 window;
    EXPECT_EQ(window.ComboBox2->itemText(0), "2007");
    EXPECT_EQ(window.ComboBox2->itemText(window.ComboBox2->count() - 1), "2032");
    EXPECT_EQ(window.ComboBox2->count(), 2032 - 2007 + 1);
}

TEST_F(TimesheetWindowTest, WeekendsAreRedAndDaysPastTheMonthEndHidden)
{
    struct Case {
        int month, year;
        std::vector<int> red, grey;
    };
    const Case cases[] = {
        // August 2026 starts on a Saturday.
        {8, 2026, {1, 2, 8, 9, 15, 16, 22, 23, 29, 30}, {}},
        // February of a leap year and of a common year.
        {2, 2024, {3, 4, 10, 11, 17, 18, 24, 25}, {30, 31}},
        {2, 2026, {1, 7, 8, 14, 15, 21, 22, 28}, {29, 30, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1.%2").arg(c.month).arg(c.year).toStdString());
        loadMonth(c.month, c.year);
        for (DataGrid* grid : {Form19->DBGrid1, Form19->DBGrid2, Form19->DBGrid3}) {
            EXPECT_EQ(daysTitled(grid, kRed), c.red);
            EXPECT_EQ(daysTitled(grid, kSilver), c.grey);
        }
        // Cells follow their titles: red on a weekend, nothing to see past the month end.
        EXPECT_EQ(look(Form19->DBGrid2, c.red[0], "5").text, kRed);
        EXPECT_FALSE(look(Form19->DBGrid2, 5, "5").text.isValid());
        if (!c.grey.empty()) {
            const CellLook hidden = look(Form19->DBGrid3, c.grey[0], "8");
            EXPECT_EQ(hidden.text, Form19->DBGrid3->palette().color(QPalette::Base));
            EXPECT_FALSE(hidden.bold);
        }
    }
}

TEST_F(TimesheetWindowTest, DayCellsShowFullDaysBoldOvertimeGreenAndIdleDaysGrey)
{
    struct Case {
        bool weekend;
        std::optional<QString> value;
        bool bold;
        QColor text, background;
    };
    const Case cases[] = {
        {false, "8", true, {}, {}},
        {false, "11", true, {}, kLightGreen},
        {false, "0", false, kSilver, {}},
        {false, std::nullopt, false, kSilver, {}},
        {false, "5", false, {}, {}},
        {false, "-2", false, {}, {}},
        {true, "8", true, kRed, {}},
        {true, "11", true, kRed, kLightGreen},
        {true, "0", false, kRed, {}},
        {true, "5", false, kRed, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((QString(c.weekend ? "weekend " : "weekday ") + c.value.value_or("null")).toStdString());
        CellLook result;
        styleDayCell(DayColumn{c.weekend, false}, c.value, result);
        EXPECT_EQ(result.bold, c.bold);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(result.background, c.background);
    }

    // In the grids: the selected row keeps its highlight, the total stands out, the
    // name column is left alone.
    loadMonth(8, 2026);
    const CellLook selected = look(Form19->DBGrid1, 3, "11", true);
    EXPECT_FALSE(selected.bold);
    EXPECT_FALSE(selected.background.isValid());
    EXPECT_EQ(look(Form19->DBGrid1, 3, "11").background, kLightGreen);
    // The total keeps its column's look on the selected row as well.
    for (bool isSelected : {false, true}) {
        const CellLook total = look(Form19->DBGrid2, 32, "40", isSelected);
        EXPECT_TRUE(total.bold);
        EXPECT_EQ(total.background, QColor(225, 228, 255));
    }
    const CellLook name = look(Form19->DBGrid3, 0, "0");
    EXPECT_FALSE(name.text.isValid());
    EXPECT_FALSE(name.bold);
}

TEST_F(TimesheetWindowTest, OpensFromTheJournalOnItsMonthAndClosesTheQueriesAfterwards)
{
    const int ivanov = seed->worker("Иванов И.И.");
    record(ivanov, QDate(2024, 2, 5), 2, 8);
    timesheetRow(ivanov, 2, 2, 2024, {{5, 8}});
    Form19->Button2->setText("Книга");
    openFromJournal(QDate(2024, 2, 20), [](QDialog& dialog) {
        dialog.show();
        EXPECT_EQ(Form19->ComboBox1->currentText(), "Февраль");
        EXPECT_EQ(Form19->ComboBox2->currentText(), "2024");
        EXPECT_EQ(Form19->Button2->text(), "Excel");
        EXPECT_EQ(DataModule6->H_Tabel_2.recordCount(), 1);
        EXPECT_EQ(DataModule6->H_Tabel_2.param("date2").toDate(), QDate(2024, 3, 1));
        EXPECT_TRUE(Form19->DBGrid1->model()->headerData(30, Qt::Horizontal, Qt::ForegroundRole).value<QColor>() == kSilver);
        // Escape closes the window.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        return dialog.result();
    });
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form19"}));
    for (int shift = 1; shift <= 3; ++shift)
        EXPECT_FALSE(DataModule6->timesheetQuery(shift).isOpen());
    EXPECT_TRUE(fakes->messages.shown.empty());
}

TEST_F(TimesheetWindowTest, ComingBackToTheWindowSetsTheExcelCaptionBack)
{
    loadMonth(3, 2026);
    Form19->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form19));
    QDialog other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Form19->Button2->setText("Excel (3 из 3)");
    other.close();
    Form19->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form19));
    EXPECT_EQ(Form19->Button2->text(), "Excel");
    Form19->hide();
}

TEST_F(TimesheetWindowTest, AJournalYearOutsideTheListSelectsItsNearestEnd)
{
    struct Case {
        QDate journalDate;
        QString month, year;
    };
    const Case cases[] = {
        {QDate(2027, 7, 1), "Июль", "2027"},  // the list reaches the end of next year, as the journal does
        {QDate(2001, 3, 1), "Март", "2007"},
        {QDate(2026, 12, 10), "Декабрь", "2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.journalDate.toString().toStdString());
        openFromJournal(c.journalDate, [&](QDialog& dialog) {
            EXPECT_EQ(Form19->ComboBox1->currentText(), c.month);
            EXPECT_EQ(Form19->ComboBox2->currentText(), c.year);
            EXPECT_TRUE(DataModule6->H_Tabel_1.isOpen());
            Form19->Button4->click();
            return dialog.result();
        });
    }
}

TEST_F(TimesheetWindowTest, AReloadThatFailsLeavesThatGridAndTheFollowingOnesEmpty)
{
    const int ivanov = seed->worker("Иванов И.И.");
    const int petrov = seed->worker("Петров П.П.");
    for (int month : {3, 4}) {
        record(ivanov, QDate(2026, month, 2), 1, 8);
        for (int shift = 1; shift <= 3; ++shift)
            timesheetRow(ivanov, shift, month, 2026, {{2, 8}});
    }
    // Petrov's April pay does not fit the pay column: reading April's second shift fails.
    record(petrov, QDate(2026, 4, 3), 2, 8, 20000000.0, 10);
    timesheetRow(petrov, 2, 4, 2026, {{3, 8}});
    loadMonth(3, 2026);
    ASSERT_EQ(DataModule6->H_Tabel_3.recordCount(), 1);

    Form19->ComboBox1->setCurrentIndex(3);
    emit Form19->ComboBox1->activated(3);
    ASSERT_EQ(fakes->messages.shown.size(), 1u);
    EXPECT_EQ(fakes->messages.shown[0].caption, "Ошибка");
    EXPECT_EQ(DataModule6->H_Tabel_1.recordCount(), 1);
    EXPECT_FALSE(DataModule6->H_Tabel_2.isOpen());
    EXPECT_FALSE(DataModule6->H_Tabel_3.isOpen());
    EXPECT_EQ(Form19->DBGrid3->model()->rowCount(), 0);

    // Once the journal is mended, "Обновить" reads April, the month shown, in every grid.
    db->exec(QStringLiteral("update accounts_dep.smena set cena = 10 where w_id = %1").arg(petrov));
    Form19->Button5->click();
    for (int shift = 1; shift <= 3; ++shift)
        EXPECT_EQ(DataModule6->timesheetQuery(shift).param("mnth").toInt(), 4);
    EXPECT_EQ(DataModule6->H_Tabel_2.recordCount(), 2);
    EXPECT_EQ(DataModule6->H_Tabel_3.recordCount(), 1);
}

TEST_F(TimesheetWindowTest, ChoosingAMonthOrAYearReloads)
{
    const int ivanov = seed->worker("Иванов И.И.");
    record(ivanov, QDate(2025, 5, 5), 1, 8);
    timesheetRow(ivanov, 1, 5, 2025, {{5, 8}});
    record(ivanov, QDate(2026, 5, 5), 1, 8);
    timesheetRow(ivanov, 1, 5, 2026, {{5, 8}, {6, 8}});
    loadMonth(4, 2025);
    EXPECT_EQ(DataModule6->H_Tabel_1.recordCount(), 0);

    Form19->ComboBox1->setCurrentIndex(4);
    emit Form19->ComboBox1->activated(4);
    EXPECT_EQ(DataModule6->H_Tabel_1.fieldByName("summ").asInteger(), 8);
    const int year2026 = Form19->ComboBox2->findText("2026");
    Form19->ComboBox2->setCurrentIndex(year2026);
    emit Form19->ComboBox2->activated(year2026);
    EXPECT_EQ(DataModule6->H_Tabel_1.fieldByName("summ").asInteger(), 16);
}

}  // namespace
