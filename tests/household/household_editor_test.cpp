#include "field_box.h"
#include "household_fixture.h"
#include "lookup_combo_box.h"
#include "journal/record_editor.h"
#include "russian_locale.h"

#include <QApplication>
#include <QTest>

namespace {

class HouseholdEditorTest : public HouseholdFixture {
protected:
    // Replaces the hours box's text by typing, as the user would.
    void typeHours(const QString& hours)
    {
        Form24->Edit6->setFocus();
        QTest::keyClick(Form24->Edit6, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Form24->Edit6, Qt::Key_Backspace);
        QTest::keyClicks(Form24->Edit6, hours);
    }
};

// The foreman picks the worker and the entry in the real lists, types the hours and sees
// the amount at every keystroke; the entry goes to the date the window shows, in shift 1,
// and the window stays on that date. The workers list hands back into this editor only.
TEST_F(HouseholdEditorTest, AddPicksThroughTheListsAndTheAmountFollowsEveryKeystroke)
{
    Form11->Edit1->setText("Прежний");
    Form11->WorkerId = 99;
    inHouseholdJournal([&] {
        Form25->DTPcker1->setDate(kWednesday);
        whileOpenedBy(Form25->Button5, [&] {
            EXPECT_EQ(Form24->windowTitle(), "Хоз. работы/среднесдельная (24)");
            EXPECT_EQ(Form24->Edit6->text(), "0");
            EXPECT_EQ(Form24->cb_type_work->currentText(), "Хоз. работы");
            EXPECT_EQ(Form24->DBEdit1->text(), "150");
            EXPECT_EQ(Form24->DBEdit2->text(), "0");
            pickWorker("Сид");
            pickNomenclature("Рем");
            EXPECT_EQ(Form24->Edit1->text(), "Сидоров С.С.");
            EXPECT_EQ(Form24->WorkerId, sidorov);
            EXPECT_EQ(Form24->Edit2->text(), "Ремонт кровли");
            EXPECT_EQ(Form24->NomId, roofing);
            Form24->Edit6->setFocus();
            QTest::keyClick(Form24->Edit6, Qt::Key_End);
            QStringList amounts;
            for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_1, Qt::Key_2, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_8}) {
                QTest::keyClick(Form24->Edit6, key);
                amounts << Form24->Edit6->text() + "=" + Form24->DBEdit2->text();
            }
            EXPECT_EQ(amounts, QStringList({"=0", "1=150", "12=1800", "1=150", "=150", "8=1200"}));
            expectFixedAndCentred(*Form24);
            QTest::keyClick(Form24->Edit6, Qt::Key_Return);
            EXPECT_FALSE(Form24->isVisible());
        });
        EXPECT_EQ(Form25->DTPcker1->date(), kWednesday);
        EXPECT_EQ(listed(), QStringList({"Сидоров С.С."}));
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form25", "Form24", "Form5", "Form26"}));
    EXPECT_EQ(db->scalar("select id_nom||'|'||id_o||'|'||id_p||'|'||d_date||'|'||i_mnth||'|'||i_year||'|'||i_smena||'|'||cnt||'|'||price "
                         "from accounts_dep.fatigue"),
              QStringLiteral("%1|7777|%2|2026-12-09|12|2026|1|8|150.0000").arg(roofing).arg(sidorov));
    EXPECT_EQ(Form11->Edit1->text(), "Прежний");
    EXPECT_EQ(Form11->WorkerId, 99);
    EXPECT_FALSE(Form24->type_work.isOpen());
}

// The shift record editor's worker picker fills that editor only.
TEST_F(HouseholdEditorTest, WorkersListForTheRecordEditorLeavesTheHouseholdEditorAlone)
{
    Form24->Edit1->setText("Прежний");
    Form24->WorkerId = 99;
    whileOpenedBy(Form11->Button3, [&] {
        list_test::type(*Form5, "Пет");
        Form5->Button2->click();
    });
    EXPECT_EQ(Form11->Edit1->text(), "Петров П.П.");
    EXPECT_EQ(Form11->WorkerId, petrov);
    EXPECT_EQ(Form24->Edit1->text(), "Прежний");
    EXPECT_EQ(Form24->WorkerId, 99);
}

// A change keeps the entry's date, month, year and shift, keeps the kind when the box is
// left alone and writes that kind's price as the norm has it now. An addition after it
// is a new entry.
TEST_F(HouseholdEditorTest, ChangeKeepsDateShiftAndKindWithTheCurrentPriceAndAnAddAfterItInserts)
{
    const int id = entry(petrov, cleaning, 7778, 4, 180, kThursday, 2);
    inHouseholdJournal([&] {
        fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
            EXPECT_EQ(Form24->Edit1->text(), "Петров П.П.");
            EXPECT_EQ(Form24->Edit2->text(), "Уборка территории");
            EXPECT_EQ(Form24->Edit6->text(), "4");
            EXPECT_EQ(Form24->cb_type_work->currentText(), "Среднесдельная");
            EXPECT_EQ(Form24->DBEdit1->text(), "200");
            EXPECT_EQ(Form24->DBEdit2->text(), "800");
            pickWorker("Сид");
            typeHours("6");
            EXPECT_EQ(Form24->DBEdit2->text(), "1200");
            Form24->Button1->click();
        }));
        doubleClickRow(0);
        EXPECT_EQ(listed(), QStringList({"Сидоров С.С."}));

        whileOpenedBy(Form25->Button5, [&] {
            EXPECT_EQ(Form24->Edit1->text(), "");
            EXPECT_EQ(Form24->Edit2->text(), "");
            EXPECT_EQ(Form24->WorkerId, 0);
            EXPECT_EQ(Form24->NomId, 0);
            pickWorker("Пет");
            pickNomenclature("Убо");
            typeHours("2");
            Form24->Button1->click();
        });
        EXPECT_EQ(listed(), QStringList({"Петров П.П.", "Сидоров С.С."}));
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(stored(id), QStringLiteral("%1|7778|%2|2026-12-10|12|2026|2|6|200.0000").arg(cleaning).arg(sidorov));
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.fatigue where id<>%1 and id_p=%2 and id_o=7777 and cnt=2 "
                                       "and i_smena=1 and price=150")
                            .arg(id)
                            .arg(petrov)),
              1);
    EXPECT_EQ(entryCount(), 2);
}

// Nothing is written, and the editor stays open, without a worker or an entry; then the
// hours, as typed (nothing is cut or changed on the way): none, or 0 or less, asks for
// them; anything else that is no whole number of 1 to 24 is refused naming the field; and
// the worker's household hours of the date, with this entry, are at most 24.
TEST_F(HouseholdEditorTest, SaveRefusesMissingFieldsThenHoursThatAreNoCountOfOneTo24)
{
    entry(petrov, roofing, 7778, 20, 200);  // Petrov's 20 hours of the day so far
    const QString noCount = "Ошибка: Нужно завести количество!";
    const QString notWhole = "Ошибка: Кол-во: нужно целое число часов";
    const QString tooMany = "Ошибка: Кол-во: число слишком большое (не больше 24)";
    const struct {
        const char* typed;
        QString message;
    } cases[] = {
        {"", noCount},
        {"0", noCount},
        {"00", noCount},
        {"-5", noCount},
        {"7,5", notWhole},
        {"1a2", notWhole},
        {"25", tooMany},
        {"99999999999", tooMany},
        {"99999999999999999999", tooMany},
        {"5", "Ошибка: Кол-во: у работника за 10.12.2026 выходит 25 ч., а больше 24 быть не может"},
    };
    inHouseholdJournal([&] {
        whileOpenedBy(Form25->Button5, [&] {
            Form24->Button1->click();
            pickWorker("Пет");
            Form24->Button1->click();
            EXPECT_EQ(messageTexts(), QStringList(2, "Ошибка: Все поля должны быть заполнены!"));
            pickNomenclature("Убо");
            for (const auto& c : cases) {
                fakes->messages.shown.clear();
                typeHours(c.typed);
                EXPECT_EQ(Form24->Edit6->text(), c.typed);
                Form24->Button1->click();
                EXPECT_EQ(messageTexts(), QStringList{c.message}) << c.typed;
                EXPECT_TRUE(Form24->isVisible()) << c.typed;
            }
            EXPECT_EQ(entryCount(), 1);
            typeHours("4");
            Form24->Button1->click();
            EXPECT_FALSE(Form24->isVisible());
        });
    });
    EXPECT_EQ(db->scalar("select string_agg(cnt::text, ' ' order by cnt) from accounts_dep.fatigue"), "4 20");
}

// Entering the hours box selects its text, by a click as by Tab: what is typed replaces
// the 0 or the hours typed before instead of joining them ("08").
TEST_F(HouseholdEditorTest, TheHoursBoxSelectsItsTextWhenEntered)
{
    inHouseholdJournal([&] {
        whileOpenedBy(Form25->Button5, [&] {
            list_test::activateAgain(*Form24);
            QTest::mouseClick(Form24->Edit6, Qt::LeftButton, {}, Form24->Edit6->rect().center());
            QTest::keyClicks(Form24->Edit6, "8");
            EXPECT_EQ(Form24->Edit6->text(), "8");
            EXPECT_EQ(Form24->DBEdit2->text(), "1200");
            QTest::keyClick(Form24->Edit6, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            ASSERT_EQ(QApplication::focusWidget(), Form24->Edit6);
            QTest::keyClicks(Form24->Edit6, "6");
            EXPECT_EQ(Form24->Edit6->text(), "6");
            Form24->Button1->setFocus();
            QTest::mouseClick(Form24->Edit6, Qt::LeftButton, {}, Form24->Edit6->rect().center());
            QTest::keyClicks(Form24->Edit6, "5");
            EXPECT_EQ(Form24->Edit6->text(), "5");
        });
    });
}

// Under a Russian locale the price box shows a decimal comma while the statement carries a
// full stop; the kind chosen with the keyboard brings its own price.
TEST_F(HouseholdEditorTest, PriceWithAFractionUnderARussianLocale)
{
    const RussianLocale russian;
    db->exec(QStringLiteral("update accounts_dep.norm set price=150.5 where o_id=%1").arg(averageRate));
    inHouseholdJournal([&] {
        whileOpenedBy(Form25->Button5, [&] {
            pickWorker("Пет");
            pickNomenclature("Убо");
            Form24->cb_type_work->setFocus();
            QTest::keyClick(Form24->cb_type_work, Qt::Key_Down);
            EXPECT_EQ(Form24->cb_type_work->currentText(), "Среднесдельная");
            EXPECT_EQ(Form24->DBEdit1->text(), "150,5");
            typeHours("3");
            EXPECT_EQ(Form24->DBEdit2->text(), "451,5");
            Form24->Button1->click();
        });
        EXPECT_EQ(listedRow(0), QStringList({"Петров П.П.", "Уборка территории", "Среднесдельная", "150,5", "3", "451,5"}));
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(db->scalar("select id_o||'|'||cnt||'|'||price from accounts_dep.fatigue"), "7778|3|150.5000");
}

}  // namespace
