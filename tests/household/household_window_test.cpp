#include "household_fixture.h"

#include "date_box.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {

class HouseholdWindowTest : public HouseholdFixture {};

// The reporting role too reaches the household works; the window starts on today's date
// whatever date the journal shows, and lists that date's entries of every shift.
TEST_F(HouseholdWindowTest, OpensFromTheJournalOnTodayWithTheEntriesOfEveryShift)
{
    entry(sidorov, roofing, 7778, 4, 200, kThursday, 2);
    entry(petrov, cleaning, 7777, 8, 150);
    entry(petrov, roofing, 7777, 3, 150, kWednesday);
    logIn("fincal", [&] {
        Form1->DateT->setDate(kWednesday);
        EXPECT_TRUE(Form1->Button5->isEnabled());
        fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
            EXPECT_EQ(Form25->windowTitle(), "Хоз. работы (25)");
            EXPECT_EQ(Form25->DTPcker1->date(), kThursday);
            EXPECT_EQ(listedRow(0), QStringList({"Петров П.П.", "Уборка территории", "Хоз. работы", "150", "8", "1200"}));
            EXPECT_EQ(listedRow(1), QStringList({"Сидоров С.С.", "Ремонт кровли", "Среднесдельная", "200", "4", "800"}));
            EXPECT_EQ(listed().size(), 2);
            EXPECT_EQ(Form25->EntryShift, 1);
            expectFixedAndCentred(*Form25);
        }));
        Form1->Button5->click();
    });
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form25"}));
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
}

TEST_F(HouseholdWindowTest, ChoosingADateListsItsEntriesAndEscapeCloses)
{
    entry(petrov, cleaning, 7777, 8, 150);
    entry(sidorov, roofing, 7777, 3, 150, kWednesday);
    inHouseholdJournal([&] {
        EXPECT_EQ(listed(), QStringList({"Петров П.П."}));
        // A typed date counts once Enter is pressed.
        list_test::activateAgain(*Form25);
        Form25->DTPcker1->setFocus();
        QTest::keyClicks(Form25->DTPcker1, "09");
        EXPECT_EQ(listed(), QStringList({"Петров П.П."}));
        QTest::keyClick(Form25->DTPcker1, Qt::Key_Return);
        EXPECT_EQ(Form25->DTPcker1->date(), kWednesday);
        EXPECT_EQ(listed(), QStringList({"Сидоров С.С."}));
        Form25->DTPcker1->setDate(kWednesday.addDays(-1));  // as the calendar chooses
        EXPECT_TRUE(listed().isEmpty());
        QTest::keyClick(Form25, Qt::Key_Escape);
        EXPECT_FALSE(Form25->isVisible());
    });
}

// A date typed as the journal's date box takes it: the day double-clicked, the digits, and
// Enter or leaving the box takes it and the list follows; nothing is read while typing, and
// a date that does not exist or lies beyond the range is refused, the list staying as it was.
TEST_F(HouseholdWindowTest, ATypedDateIsTakenAsTypedAndTheListFollowsIt)
{
    const QDate friday = kThursday.addDays(1);
    const QDate lastOfNovember(2026, 11, 30);
    entry(petrov, cleaning, 7777, 8, 150, lastOfNovember);
    entry(sidorov, roofing, 7777, 3, 150, friday);
    const QString kept = ", оставлена прежняя 11.12.2026";
    const struct {
        const char* typed;
        Qt::Key taking;
        QDate date;
        const char* listed;
        QString message;
    } cases[] = {
        {"30.11", Qt::Key_Return, lastOfNovember, "Петров П.П.", {}},
        {"30.11.2026", Qt::Key_Return, lastOfNovember, "Петров П.П.", {}},
        {"3011", Qt::Key_Tab, lastOfNovember, "Петров П.П.", {}},
        {"31.02", Qt::Key_Return, friday, "Сидоров С.С.", "Ошибка: Дата: такой даты нет (31.02.2026)" + kept},
        {"01012028", Qt::Key_Tab, friday, "Сидоров С.С.",
         "Ошибка: Дата: только с 01.01.2000 по 31.12.2027 (введено 01.01.2028)" + kept},
    };
    inHouseholdJournal([&] {
        for (const auto& c : cases) {
            fakes->messages.shown.clear();
            Form25->DTPcker1->setDate(friday);  // as the calendar chooses
            list_test::activateAgain(*Form25);
            QLineEdit* text = Form25->DTPcker1->findChild<QLineEdit*>();
            QTest::mouseDClick(text, Qt::LeftButton, {}, QPoint(6, text->height() / 2));  // on the day
            ASSERT_EQ(text->selectedText(), "11") << c.typed;
            QTest::keyClicks(Form25->DTPcker1, c.typed);
            EXPECT_EQ(listed(), QStringList{"Сидоров С.С."}) << c.typed;
            QTest::keyClick(Form25->DTPcker1, c.taking);
            EXPECT_EQ(Form25->DTPcker1->date(), c.date) << c.typed;
            EXPECT_EQ(listed(), QStringList{c.listed}) << c.typed;
            EXPECT_EQ(messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.typed;
            if (c.taking == Qt::Key_Tab) {
                EXPECT_EQ(QApplication::focusWidget(), Form25->DBGrid1) << c.typed;
            }
        }
    });
}

// The list is an inner join: an entry whose worker or nomenclature entry is gone is not
// listed, and nothing is listed without an operation whose item and kind are both 7777
// or more.
TEST_F(HouseholdWindowTest, ListsOnlyEntriesWithTheirWorkerEntryAndAHouseholdOperation)
{
    entry(petrov, cleaning, 7777, 8, 150);
    entry(sidorov, cleaning, 7777, 2, 150);
    entry(petrov, roofing, 7778, 1, 200);
    db->exec(QStringLiteral("delete from accounts_dep.person where id=%1").arg(sidorov));
    db->exec(QStringLiteral("delete from cmn_classifier.item where id=%1").arg(roofing));
    inHouseholdJournal([&] { EXPECT_EQ(listed(1), QStringList({"Уборка территории"})); });

    db->exec("update accounts_dep.oper set i_id=100");
    inHouseholdJournal([&] { EXPECT_TRUE(listed().isEmpty()); });
    db->exec(QStringLiteral("update accounts_dep.oper set i_id=7777, vid=1 where id=%1").arg(hourly));
    inHouseholdJournal([&] { EXPECT_TRUE(listed().isEmpty()); });
    db->exec(QStringLiteral("update accounts_dep.oper set vid=7777 where id=%1").arg(hourly));
    inHouseholdJournal([&] { EXPECT_EQ(listed(), QStringList({"Петров П.П."})); });
}

TEST_F(HouseholdWindowTest, DeleteAsksAndDeletesTheCurrentEntryAndAnEmptyListAsksNothing)
{
    const int first = entry(petrov, cleaning, 7777, 8, 150);
    entry(sidorov, roofing, 7777, 3, 150);
    fakes->messages.answers = {false, true};
    inHouseholdJournal([&] {
        Form25->fatigue.setRecNo(2);
        Form25->Button7->click();
        EXPECT_EQ(entryCount(), 2);
        Form25->Button7->click();
        EXPECT_EQ(listed(), QStringList({"Петров П.П."}));
        EXPECT_EQ(Form25->DBGrid1->currentIndex().row(), 0);
        Form25->DTPcker1->setDate(kWednesday);
        Form25->Button7->click();
    });
    ASSERT_EQ(fakes->messages.shown.size(), 2u) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(fakes->messages.shown[0].kind, ShownMessage::Kind::Question);
    EXPECT_EQ(messageTexts()[0], "Удаление: Удалить позицию из списка?");
    EXPECT_EQ(db->column("select id from accounts_dep.fatigue"), QStringList({QString::number(first)}));
}

// An empty list has no entry to change: neither "Изменить" nor a double click opens the editor.
TEST_F(HouseholdWindowTest, ChangeOnAnEmptyListOpensNothing)
{
    inHouseholdJournal([&] {
        Form25->Button6->click();
        QTest::mouseClick(Form25->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseDClick(Form25->DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    });
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form25"}));
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
}

}  // namespace
