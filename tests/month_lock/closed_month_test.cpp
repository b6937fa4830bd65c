// A closed month as the program shows it and as the database refuses it: the line and the
// disabled writing buttons of the journal, the timesheet and the household journal; each
// write that still reaches the server (another workstation closed the month meanwhile)
// refused with the program's own message and nothing written; the month closed and opened
// by the timesheet's buttons; the import refused while a month is closed.
#include "household_fixture.h"
#include "journal/brigade_window.h"
#include "month_lock.h"
#include "month_lock_view.h"
#include "month_lock_fixture.h"
#include "reports/report_chooser.h"
#include "timesheet/timesheet_window.h"

#include <QAction>
#include <QComboBox>
#include <QShortcut>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

class ClosedMonthTest : public MonthLockFixture {
protected:
    QLabel* journalLine() { return Form1->findChild<QLabel*>(QStringLiteral("ClosedMonthLine")); }
    // "Добавить", "Изменить", "Удалить", and "Бригада", which follows "Добавить".
    std::vector<bool> journalButtons()
    {
        return {Form1->Button1->isEnabled(), Form1->Button2->isEnabled(), Form1->Button3->isEnabled(),
                Form1->Button9->isEnabled()};
    }

    // Chooses a date in the journal as the user does: typed, then Enter.
    void chooseDate(const QDate& date)
    {
        Form1->DateT->setFocus();
        Form1->DateT->setDate(date);
        QTest::keyClick(Form1->DateT, Qt::Key_Return);
    }

    // Opens the timesheet from the journal's menu and runs `act` while it is shown.
    void inTimesheet(std::function<void()> act)
    {
        fakes->modalActions.push_back(list_test::whileShown([act](QDialog&) { act(); }));
        Form1->N11->trigger();
    }
};

// Without the script the program is as it always was: nothing of closed months or history shows.
class WithoutTheScriptTest : public JournalFixture {};

TEST_F(WithoutTheScriptTest, WithoutTheScriptNothingOfClosedMonthsOrHistoryShows)
{
    logIn("8573", [&] {
        EXPECT_FALSE(DataModule6->MonthLockInstalled);
        EXPECT_FALSE(Form1->N13->isVisible());
        EXPECT_TRUE(Form1->findChild<QLabel*>(QStringLiteral("ClosedMonthLine"))->isHidden());
        EXPECT_TRUE(Form1->Button1->isEnabled() && Form1->Button2->isEnabled() && Form1->Button3->isEnabled());
        EXPECT_TRUE(Form19->Button7->isHidden());
        EXPECT_TRUE(Form19->Button8->isHidden());
        fakes->modalActions.push_back(
            list_test::whileShown([&](QDialog&) { EXPECT_TRUE(Form18->Button11->isHidden()); }));
        Form1->N9->trigger();
    });
}

// The journal of a closed month shows who closed it and disables its writing buttons; a
// date of an open month enables what the role allows, and the role's denials hold in both.
TEST_F(ClosedMonthTest, TheJournalShowsAClosedMonthAndEnablesOnlyWhatTheRoleAllows)
{
    closeMonth();
    struct Case {
        const char* code;
        std::vector<bool> openMonth;  // as journalButtons() gives them
    };
    const Case cases[] = {
        {"8573", {true, true, true, true}},
        {"brigvex", {true, false, false, true}},
        {"vrelk", {false, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        logIn(QString::fromLatin1(c.code), [&] {
            EXPECT_TRUE(Form1->N13->isVisible());
            EXPECT_FALSE(journalLine()->isHidden());
            EXPECT_EQ(journalLine()->text(), QStringLiteral("Месяц закрыт %1 — sys").arg(serverToday()));
            EXPECT_EQ(journalButtons(), std::vector<bool>({false, false, false, false}));
            chooseDate(QDate(2026, 11, 30));
            EXPECT_TRUE(journalLine()->isHidden());
            EXPECT_EQ(journalButtons(), c.openMonth);
            chooseDate(kThursday);
            EXPECT_EQ(journalButtons(), std::vector<bool>({false, false, false, false}));
        });
        startAgain();
    }
}

// The brigade window shows a closed month for the date chosen in it and writes nothing there,
// neither by "Записать" nor by F2.
TEST_F(ClosedMonthTest, TheBrigadeWindowWritesNothingIntoAClosedMonth)
{
    closeMonth(2026, 11);
    logIn("brigvex", [&] {
        fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
            EXPECT_TRUE(Form27->MonthLock->line()->isHidden());
            EXPECT_TRUE(Form27->Button1->isEnabled());
            Form27->DateT->setDate(QDate(2026, 11, 30));
            EXPECT_FALSE(Form27->MonthLock->line()->isHidden());
            EXPECT_EQ(Form27->MonthLock->line()->text(), QStringLiteral("Месяц закрыт %1 — sys").arg(serverToday()));
            EXPECT_FALSE(Form27->Button1->isEnabled());
            QTest::keyClick(Form27, Qt::Key_F2);
            Form27->DateT->setDate(kThursday);
            EXPECT_TRUE(Form27->Button1->isEnabled());
            Form27->Button3->click();
        }));
        Form1->Button9->click();
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(db->scalar("select count(*) from accounts_dep.smena"), "0");
}

// Closed by another workstation after the journal was read: every write of the journal
// reaches the server, which refuses it; the user reads the program's own message, and
// nothing is written.
TEST_F(ClosedMonthTest, EveryJournalWriteOfAMonthClosedMeanwhileIsRefusedAndChangesNothing)
{
    record(1, 4);
    hoursRow(1, "d10=4");
    const std::vector<WriteCase> cases = {
        {"add",
         [this] {
             Form1->RadioButton3->click();  // the worker has no record there yet
             addThroughTheLists(*fakes, [] {});
             Form1->RadioButton1->click();
         }},
        {"change",
         [this] {
             fakes->modalActions.push_back([](QDialog& editor) {
                 editor.show();
                 Form11->Edit3->setText("12");
                 Form11->Button1->click();
                 editor.hide();
                 return editor.result();
             });
             Form1->Button2->click();
         }},
        {"delete",
         [this] {
             fakes->messages.answers = {true};
             Form1->Button3->click();
         }},
        {"acceptance",
         [] {
             QWidget* viewport = Form1->DBGrid2->viewport();
             QTest::mouseDClick(viewport, Qt::LeftButton, {}, Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0)).center());
         }},
    };
    logIn("8573", [&] {
        closeMonth();
        expectEachRefused(*fakes, *db, cases);
    });
}

TEST_F(ClosedMonthTest, TheRebuildOfAMonthClosedMeanwhileIsRefusedAndChangesNothing)
{
    record(1, 4);
    hoursRow(1, "d10=3");
    logIn("8573", [&] {
        inTimesheet([&] {
            closeMonth();
            const QString before = payData();
            Form19->Button1->click();
            EXPECT_EQ(errorTexts(), QStringList{refusal()});
            EXPECT_EQ(payData(), before);
        });
    });
}

TEST_F(ClosedMonthTest, TheImportIsRefusedWhileAMonthIsClosed)
{
    record(1, 4);
    closeMonth(2026, 11);
    closeMonth();
    const QString before = payData();
    logIn("8573", [&] { Form1->ImportShortcut->activated(); });
    EXPECT_EQ(errorTexts(),
              QStringList{QStringLiteral("Импорт не выполнен: закрыты месяцы ноябрь 2026, декабрь 2026. Импорт заменяет "
                                         "журнал целиком и переписал бы их; импорт выполняется до закрытия первого "
                                         "месяца.\nБаза данных не изменена.")});
    EXPECT_EQ(payData(), before);
}

// Full access closes a month from the timesheet after naming it, with the offer to rebuild
// first, and opens it again; the writing buttons follow.
TEST_F(ClosedMonthTest, FullAccessClosesAndOpensTheMonthFromTheTimesheet)
{
    record(1, 6);  // its hours are not in the timesheet yet: the rebuild puts them there
    logIn("8573", [&] {
        inTimesheet([&] {
            QLabel* line = Form19->findChild<QLabel*>(QStringLiteral("ClosedMonthLine"));
            EXPECT_FALSE(Form19->Button7->isHidden());
            EXPECT_TRUE(Form19->Button7->isEnabled());
            EXPECT_FALSE(Form19->Button8->isEnabled());
            EXPECT_TRUE(line->isHidden());

            fakes->messages.answers = {false};  // not now
            Form19->Button7->click();
            EXPECT_EQ(db->count("select count(*) from accounts_dep.closed_month"), 0);

            fakes->messages.answers = {true, true};  // close, rebuilt first
            Form19->Button7->click();
            ASSERT_EQ(messageTexts().size(), 3);
            EXPECT_EQ(fakes->messages.shown[1].text,
                      "Закрыть месяц декабрь 2026? Журнал, табель и хоз. работы месяца нельзя будет изменить, пока "
                      "месяц не откроют снова.");
            EXPECT_EQ(fakes->messages.shown[2].text, "Перестроить табель за декабрь 2026 перед закрытием?");
            EXPECT_EQ(db->scalar("select year || '-' || month || ' ' || closed_by from accounts_dep.closed_month"), "2026-12 sys");
            EXPECT_EQ(cell(1), "6");
            EXPECT_FALSE(line->isHidden());
            EXPECT_EQ(line->text(), QStringLiteral("Месяц закрыт %1 — sys").arg(serverToday()));
            EXPECT_FALSE(Form19->Button1->isEnabled());
            EXPECT_FALSE(Form19->Button7->isEnabled());
            EXPECT_TRUE(Form19->Button8->isEnabled());

            fakes->messages.answers = {true};
            Form19->Button8->click();
            EXPECT_EQ(fakes->messages.shown.back().text,
                      "Открыть месяц декабрь 2026? Его журнал, табель и хоз. работы снова можно будет изменять.");
            EXPECT_EQ(db->count("select count(*) from accounts_dep.closed_month"), 0);
            EXPECT_TRUE(line->isHidden());
            EXPECT_TRUE(Form19->Button1->isEnabled());
            EXPECT_TRUE(Form19->Button7->isEnabled());
            EXPECT_FALSE(Form19->Button8->isEnabled());
        });
    });
    EXPECT_EQ(errorTexts(), QStringList());
}

// Closing without the rebuild leaves the timesheet as it stands; another month shown in
// the timesheet is judged on its own.
TEST_F(ClosedMonthTest, ClosingWithoutTheRebuildLeavesTheTimesheetAndOtherMonthsStayOpen)
{
    record(1, 6);
    logIn("8573", [&] {
        inTimesheet([&] {
            fakes->messages.answers = {true, false};
            Form19->Button7->click();
            EXPECT_EQ(cell(1), "<null>");
            EXPECT_FALSE(Form19->Button1->isEnabled());
            Form19->ComboBox1->setCurrentIndex(10);
            Form19->ComboBox1->activated(10);
            EXPECT_TRUE(Form19->Button1->isEnabled());
            EXPECT_TRUE(Form19->findChild<QLabel*>(QStringLiteral("ClosedMonthLine"))->isHidden());
        });
    });
}

// Only full access is offered the closing: the other roles do not see the buttons.
TEST_F(ClosedMonthTest, OnlyFullAccessIsOfferedTheClosing)
{
    for (const char* code : {"brigvex", "vrelk", "fincal"}) {
        SCOPED_TRACE(code);
        logIn(QString::fromLatin1(code), [&] {
            EXPECT_TRUE(Form19->Button7->isHidden());
            EXPECT_TRUE(Form19->Button8->isHidden());
        });
        startAgain();
    }
}

// The database grants the closing: a user outside the role tabel_month_closer is told so in
// the program's words, and closes months once the role is granted.
TEST_F(ClosedMonthTest, AUserOutsideTheClosersRoleIsToldSoInRussian)
{
    // Roles belong to the whole server: this test's own, dropped at the end.
    const QString clerk = QStringLiteral("clerk_") + db->name();
    db->exec(QStringLiteral("create role %1 login password 'clerk'").arg(clerk));
    db->exec(QStringLiteral("grant usage on schema accounts_dep to %1").arg(clerk));
    {
        Connection connection;
        connection.open(db->odbcConnectionString().replace(QStringLiteral("UID=sys;PWD=wemplax;"),
                                                           QStringLiteral("UID=%1;PWD=clerk;").arg(clerk)));
        try {
            month_lock::close(connection, 2026, 12);
            ADD_FAILURE() << "closed without the role";
        } catch (const DatabaseError& error) {
            EXPECT_TRUE(error.isOwnMessage());
            EXPECT_EQ(error.text(), "Закрывать и открывать месяцы могут только те, кому администратор базы данных дал "
                                    "роль tabel_month_closer.");
        }
        EXPECT_EQ(db->count("select count(*) from accounts_dep.closed_month"), 0);
        db->exec(QStringLiteral("grant tabel_month_closer to %1").arg(clerk));
        month_lock::close(connection, 2026, 12);
        EXPECT_EQ(db->scalar("select closed_by from accounts_dep.closed_month"), clerk);
    }
    db->exec(QStringLiteral("drop owned by %1").arg(clerk));
    db->exec(QStringLiteral("drop role %1").arg(clerk));
}

class HouseholdClosedMonthTest : public HouseholdFixture {
protected:
    void prepareDatabase() override { db->installMonthLock(); }
    void closeDecember() { db->exec(QStringLiteral("select accounts_dep.close_month(2026, 12)")); }
};

// The household journal shows a closed month and disables its writing buttons (a double
// click opens no editor either); a date of an open month enables them.
TEST_F(HouseholdClosedMonthTest, AClosedMonthIsShownAndItsButtonsAreDisabled)
{
    entry(petrov, cleaning, 7777, 4, 150);
    closeDecember();
    inHouseholdJournal([&] {
        QLabel* line = Form25->findChild<QLabel*>(QStringLiteral("ClosedMonthLine"));
        EXPECT_FALSE(line->isHidden());
        for (QPushButton* button : {Form25->Button5, Form25->Button6, Form25->Button7})
            EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
        doubleClickRow(0);
        EXPECT_EQ(fakes->modalShown.back(), "Form25");
        Form25->DTPcker1->setDate(QDate(2026, 11, 30));
        EXPECT_TRUE(line->isHidden());
        for (QPushButton* button : {Form25->Button5, Form25->Button6, Form25->Button7})
            EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    });
}

// Closed by another workstation meanwhile: adding, changing and deleting an entry are
// refused by the database with the program's own message, and nothing is written.
TEST_F(HouseholdClosedMonthTest, EveryWriteOfAMonthClosedMeanwhileIsRefusedAndChangesNothing)
{
    entry(petrov, cleaning, 7777, 4, 150);
    const std::vector<WriteCase> cases = {
        {"add",
         [this] {
             whileOpenedBy(Form25->Button5, [this] {
                 pickWorker("Сид");
                 pickNomenclature("Рем");
                 Form24->Edit6->setText("2");
                 Form24->Button1->click();
             });
         }},
        {"change",
         [this] {
             whileOpenedBy(Form25->Button6, [] {
                 Form24->Edit6->setText("7");
                 Form24->Button1->click();
             });
         }},
        {"delete",
         [this] {
             fakes->messages.answers = {true};
             Form25->Button7->click();
         }},
    };
    inHouseholdJournal([&] {
        closeDecember();
        expectEachRefused(*fakes, *db, cases);
    });
}

}  // namespace
