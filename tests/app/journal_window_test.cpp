#include "app_fixture.h"
#include "data_grid.h"
#include "data_module.h"
#include "app/journal_window.h"
#include "date_box.h"
#include "journal/record_editor.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QDate kThursday(2026, 12, 10);
const QDate kSaturday(2026, 12, 12);

class JournalWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        j = seed->smallJournal();
        fakes->clock = QDateTime(kThursday, QTime(9, 0));
    }

    int record(int shift, const QDate& date = kThursday, const QString& ok = "no", int worker = 0)
    {
        Seed::Record r = Seed::recordOf(j, date, shift, worker);
        r.ok = ok;
        return seed->record(r);
    }

    // The names the grid lists for the current shift.
    QStringList listedNames() { return columnTexts(*Form1->DBGrid2->model()); }

    Seed::Journal j{};
};

TEST_F(JournalWindowTest, LoadsTodaysFourShiftsAndSwitchesWithoutAQuery)
{
    record(1);
    record(2);
    record(2, kThursday, "ok", seed->worker("Петров П.П."));
    record(4);
    record(1, kThursday.addDays(-1));
    logIn("8573", [&] {
        EXPECT_EQ(Form1->DateT->date(), kThursday);
        EXPECT_FALSE(Form1->CBox1->isChecked());
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И."}));

        // A record written meanwhile shows only after a refresh.
        record(2, kThursday, "no", seed->worker("Сидоров С.С."));
        Form1->RadioButton2->click();
        EXPECT_EQ(Form1->CurrentShift, 2);
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И.", "Петров П.П."}));
        Form1->Button8->click();
        EXPECT_EQ(Form1->CurrentShift, 2);
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И.", "Петров П.П.", "Сидоров С.С."}));

        Form1->RadioButton3->click();
        EXPECT_TRUE(listedNames().isEmpty());
        Form1->RadioButton4->click();
        EXPECT_EQ(Form1->CurrentShift, 4);
        EXPECT_EQ(listedNames().size(), 1);
    });
}

TEST_F(JournalWindowTest, ListsRecordsByMarkAndPersonJoin)
{
    record(1, kThursday, "no");
    record(1, kThursday, "ok");
    record(1, kThursday, "");
    record(1, kThursday, "ta");
    record(1, kThursday, "<null>");
    // A worker key that is one ERP person's id and another's code lists twice.
    const int other = seed->worker("Петров П.П.");
    const QString personId = db->scalar(QStringLiteral("select id from cmn_contractor.person where s_code = '%1'").arg(other));
    db->exec(QStringLiteral("update cmn_contractor.person set s_code = '%1' where s_code = '%2'").arg(personId.toInt() + 1).arg(other));
    db->exec(QStringLiteral("insert into cmn_contractor.person (id, s_caption, s_code) values (%1, 'Двойник Д.Д.', '%2')")
                 .arg(personId.toInt() + 1).arg(other));
    record(1, kThursday, "no", personId.toInt() + 1);
    // A worker key that matches no ERP person is stored but not listed.
    record(1, kThursday, "no", 999999);

    logIn("8573", [&] {
        EXPECT_EQ(listedNames(), QStringList({"Двойник Д.Д.", "Иванов И.И.", "Иванов И.И.", "Иванов И.И.", "Петров П.П."}));
    });
}

TEST_F(JournalWindowTest, ShowsThePayRoundedWithTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Seed::Record r;
    r.worker = j.worker;
    r.item = j.item;
    r.operation = j.operation;
    r.date = kThursday;
    r.quantity = 10;
    r.rejects = 2;
    r.price = 12.345;
    seed->record(r);
    logIn("8573", [&] {
        QAbstractItemModelTester tester(Form1->DBGrid2->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        EXPECT_EQ(DataModule6->Smena1.fieldByName("summa").asString(), "98.76");
        auto* model = Form1->DBGrid2->model();
        const QStringList titles = [&] {
            QStringList t;
            for (int c = 0; c < model->columnCount(); ++c)
                t << model->headerData(c, Qt::Horizontal).toString();
            return t;
        }();
        EXPECT_EQ(titles, QStringList({"Фамилия И.О.", "Марка изделия", "Операция", "Вид", "Цвет", "Часы", "Кол-во", "Брак",
                                       "Итого (р.)", "Премия (%)", "OK", "Заведен"}));
        EXPECT_EQ(model->index(0, 8).data().toString(), "98,76");
        EXPECT_EQ(model->index(0, 3).data().toString(), "Готовая продукция");
        EXPECT_TRUE(Form1->DBGrid2->isColumnHidden(9));
        EXPECT_EQ(Form1->DBGrid2->columnWidth(0), 250);
        EXPECT_EQ(Form1->DBGrid2->columnWidth(10), 37);
    });
    QLocale::setDefault(QLocale::c());
}

TEST_F(JournalWindowTest, WeekendRuleChecksTheDayOffBoxAndPaintsIt)
{
    fakes->clock = QDateTime(kSaturday, QTime(9, 0));
    logIn("8573", [&] {
        EXPECT_TRUE(Form1->CBox1->isChecked());
        EXPECT_TRUE(Form1->CBox1->font().bold());
        EXPECT_EQ(Form1->CBox1->palette().color(QPalette::Window), QColor(255, 0, 0));

        // Chosen by hand on a weekday, then another weekday is chosen: unchecked again.
        Form1->DateT->setDate(kThursday);
        Form1->DateTCloseUp();
        EXPECT_FALSE(Form1->CBox1->isChecked());
        EXPECT_FALSE(Form1->CBox1->font().bold());
        Form1->CBox1->click();
        EXPECT_TRUE(Form1->CBox1->isChecked());
        Form1->DateT->setDate(kThursday.addDays(-1));
        Form1->DateTCloseUp();
        EXPECT_FALSE(Form1->CBox1->isChecked());
        Form1->DateT->setDate(kSaturday.addDays(1));
        Form1->DateTCloseUp();
        EXPECT_TRUE(Form1->CBox1->isChecked());
    });
}

TEST_F(JournalWindowTest, ReloadsOnlyWhenTheCalendarClosesOrEnterIsPressed)
{
    record(1, kThursday.addDays(-1));
    logIn("8573", [&] {
        EXPECT_TRUE(listedNames().isEmpty());
        Form1->DateT->setFocus();
        Form1->DateT->setDate(kThursday.addDays(-1));  // as when typing or scrolling
        EXPECT_TRUE(listedNames().isEmpty());
        EXPECT_EQ(DataModule6->Smena1.param("data"), QVariant(kThursday));

        QTest::keyClick(Form1->DateT, Qt::Key_Return);
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И."}));

        Form1->DateT->setDate(kThursday);
        EXPECT_EQ(listedNames().size(), 1);
        QWidget* popup = Form1->DateT->calendarWidget()->window();
        popup->show();
        popup->hide();
        QCoreApplication::processEvents();
        EXPECT_TRUE(listedNames().isEmpty());
    });
}

TEST_F(JournalWindowTest, ShiftSelectorsShowTheCurrentShiftInGreenBold)
{
    logIn("8573", [&] {
        EXPECT_TRUE(Form1->RadioButton1->isChecked());
        EXPECT_TRUE(Form1->RadioButton1->font().bold());
        EXPECT_EQ(Form1->RadioButton1->palette().color(QPalette::Window), QColor(0, 128, 0));
        Form1->RadioButton3->click();
        EXPECT_TRUE(Form1->RadioButton3->font().bold());
        EXPECT_EQ(Form1->RadioButton3->palette().color(QPalette::Window), QColor(0, 128, 0));
        EXPECT_FALSE(Form1->RadioButton1->font().bold());
        EXPECT_NE(Form1->RadioButton1->palette().color(QPalette::Window), QColor(0, 128, 0));
        EXPECT_EQ(Form1->DBGrid2->dataset(), &DataModule6->Smena3);
    });
}

// A failed "Обновить" is shown, and every shift keeps the records it showed until a
// re-read succeeds.
TEST_F(JournalWindowTest, FailedRefreshIsShownAndTheShiftsKeepTheirRecords)
{
    record(1);
    record(3);
    logIn("8573", [&] {
        const QStringList shown = listedNames();
        ASSERT_FALSE(shown.isEmpty());
        db->exec("alter table accounts_dep.vid_oper rename to vid_oper_gone");
        Form1->Button8->click();
        ASSERT_EQ(fakes->messages.shown.size(), 1u);
        EXPECT_EQ(fakes->messages.shown[0].caption, "Ошибка");
        EXPECT_TRUE(fakes->messages.shown[0].text.contains("vid_oper")) << fakes->messages.shown[0].text.toStdString();
        EXPECT_EQ(listedNames(), shown);
        EXPECT_EQ(DataModule6->Smena3.recordCount(), 1);

        db->exec("alter table accounts_dep.vid_oper_gone rename to vid_oper");
        db->exec("update accounts_dep.smena set time=5");
        Form1->Button8->click();
        EXPECT_EQ(fakes->messages.shown.size(), 1u);
        EXPECT_EQ(listedNames(), shown);
        EXPECT_EQ(DataModule6->Smena1.fieldByName("time").asInteger(), 5);
    });
}

TEST_F(JournalWindowTest, ExitButtonEscapeAndMenuCloseTheWindow)
{
    for (const char* how : {"button", "escape", "menu"}) {
        fakes->modalShown.clear();
        bool closedWhileShown = false;
        TearDown();
        SetUp();
        logIn("8573", [&] {
            if (QString(how) == "button")
                Form1->Button4->click();
            else if (QString(how) == "escape")
                QTest::keyClick(Form1, Qt::Key_Escape);
            else
                Form1->N10->trigger();
            closedWhileShown = !Form1->isVisible();
        });
        EXPECT_TRUE(closedWhileShown) << how;
    }
}

// A restore from minimised, a hide and show, or a return from another window of the
// program leave the journal on the date the user chose, with its records as they were
// read and the day-off box as the user set it.
TEST_F(JournalWindowTest, RestoringTheWindowKeepsTheChosenDateAndItsRecords)
{
    const QDate saturday(2026, 12, 5);
    record(1, saturday);
    logIn("8573", [&] {
        Form1->DateT->setFocus();
        Form1->DateT->setDate(saturday);
        QTest::keyClick(Form1->DateT, Qt::Key_Return);
        ASSERT_TRUE(Form1->CBox1->isChecked());
        Form1->CBox1->click();  // by hand: not a day off after all
        record(1, saturday, "no", seed->worker("Петров П.П."));  // read only by a re-read

        Form1->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_TRUE(Form1->isMinimized());
        Form1->showNormal();
        QCoreApplication::processEvents();
        Form1->hide();
        Form1->show();
        fakes->modalActions.push_back([](QDialog& dialog) {
            dialog.show();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        Form1->N11->trigger();  // the timesheet, another window of the program
        QCoreApplication::processEvents();

        EXPECT_EQ(Form1->DateT->date(), saturday);
        EXPECT_FALSE(Form1->CBox1->isChecked());
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И."}));
        QDate addedOn;
        fakes->modalActions.push_back([&](QDialog& dialog) {
            addedOn = Form11->DTimeP->date();
            return int(QDialog::Rejected);
        });
        Form1->Button1->click();
        EXPECT_EQ(addedOn, saturday);
    });
}

// A date typed but not chosen with Enter gives way to the date the journal shows once
// the user moves on to the grid.
TEST_F(JournalWindowTest, ATypedDateGivesWayToTheLoadedOneWhenTheUserMovesOn)
{
    record(1);
    logIn("8573", [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
        Form1->DateT->setFocus();
        Form1->DateT->setDate(kThursday.addDays(-2));  // as when typing
        ASSERT_TRUE(Form1->DateT->hasFocus());
        QWidget* viewport = Form1->DBGrid2->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0)).center());
        EXPECT_TRUE(Form1->DBGrid2->hasFocus());
        EXPECT_EQ(Form1->DateT->date(), kThursday);
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И."}));
    });
}

// Pay shows exactly two decimals, grouped as the user's locale groups digits.
TEST_F(JournalWindowTest, PayShowsTwoDecimalsInTheUsersFormat)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    struct Case {
        int quantity, rejects;
        double price;
        QString shown;
    };
    const Case cases[] = {{10, 2, 5.0375, "40,30"},
                          {3021, 0, 1.0, QString::fromUtf8("3\u00a0021,00")},
                          {10, 2, 12.345, "98,76"},
                          {5, 5, 3.0, "0,00"}};
    QStringList expected;
    for (const Case& c : cases) {
        // Workers named in the order the grid lists them.
        Seed::Record r = Seed::recordOf(j, kThursday, 2, seed->worker(QStringLiteral("Работник %1").arg(expected.size())));
        r.quantity = c.quantity;
        r.rejects = c.rejects;
        r.price = c.price;
        seed->record(r);
        expected << c.shown;
    }
    logIn("8573", [&] {
        Form1->RadioButton2->click();
        EXPECT_EQ(columnTexts(*Form1->DBGrid2->model(), 8), expected);
    });
    QLocale::setDefault(QLocale::c());
}

// "Заведен" keeps its designed 72 pixels while a date fits, and grows with a font that
// needs more; in the usual font the date shows whole.
TEST_F(JournalWindowTest, EntryDateColumnGrowsToShowTheWholeDate)
{
    const QFont usual = QApplication::font();
    for (int pointSize : {0, 6, 16}) {
        TearDown();
        QFont font = usual;
        if (pointSize > 0)
            font.setPointSize(pointSize);
        QApplication::setFont(font);
        SetUp();
        db->exec(QStringLiteral("update accounts_dep.smena set vvod='2026-12-10' where id=%1").arg(record(1)));
        logIn("8573", [&] {
            DataGrid* grid = Form1->DBGrid2;
            const QString date = grid->model()->index(0, 11).data().toString();
            ASSERT_EQ(date, "10.12.2026");
            EXPECT_LT(grid->fontMetrics().horizontalAdvance(date), grid->columnWidth(11)) << pointSize;
            if (pointSize == 6) {
                EXPECT_EQ(grid->columnWidth(11), 72);
            } else if (pointSize == 16) {
                EXPECT_GT(grid->columnWidth(11), 72);
            }
        });
    }
    TearDown();
    QApplication::setFont(usual);
    SetUp();
}

}  // namespace
