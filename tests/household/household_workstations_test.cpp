// Two workstations on one household journal: the other workstation is a second data module
// with a connection of its own, held in the middle of its work where the test needs it.
#include "household/household_entries.h"
#include "household_fixture.h"
#include "other_workstation.h"

namespace {

const QString kStale = "Ошибка: Запись изменена другим пользователем, список обновлён";

class HouseholdWorkstationsTest : public HouseholdFixture {
protected:
    // "Изменить" on the listed entry; `meanwhile` runs while the editor is open, then the
    // hours become 6 and "Записать" is pressed.
    void changeWhile(const std::function<void()>& meanwhile)
    {
        fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
            meanwhile();
            Form24->Edit6->setText("6");
            Form24->Button1->click();
            stayedOpen = Form24->isVisible();
        }));
        Form25->Button6->click();
    }

    bool stayedOpen = false;
};

// An entry changed or deleted on another workstation while it was open in "Изменить" is
// not overwritten: the save is refused, the list read again, the editor closed.
TEST_F(HouseholdWorkstationsTest, AChangeOfAnEntryAnotherWorkstationChangedOrDeletedIsRefused)
{
    const struct {
        const char* name;
        const char* otherChange;
        QStringList listed;
        QString stored;
    } cases[] = {
        {"changed", "update accounts_dep.fatigue set cnt=5", {"5"}, "5"},
        {"deleted", "delete from accounts_dep.fatigue", {}, "<null>"},
    };
    for (const auto& c : cases) {
        db->exec("delete from accounts_dep.fatigue");
        entry(petrov, cleaning, 7777, 8, 150);
        fakes->messages.shown.clear();
        inHouseholdJournal([&] {
            changeWhile([&] { db->exec(c.otherChange); });
            EXPECT_EQ(listed(4), c.listed) << c.name;
        });
        EXPECT_EQ(messageTexts(), QStringList{kStale}) << c.name;
        EXPECT_FALSE(stayedOpen) << c.name;
        EXPECT_EQ(db->scalar("select string_agg(cnt::text, ' ') from accounts_dep.fatigue"), c.stored) << c.name;
    }
}

// A deletion answered after another workstation changed or deleted the entry deletes
// nothing; the user is told and sees the list as it is now.
TEST_F(HouseholdWorkstationsTest, ADeletionOfAnEntryAnotherWorkstationChangedOrDeletedIsRefused)
{
    const int kept = entry(sidorov, roofing, 7777, 2, 150);
    const struct {
        const char* name;
        const char* otherChange;
        QStringList listed;
    } cases[] = {
        {"changed", "update accounts_dep.fatigue set cnt=5 where id_p=%1", {"5", "2"}},
        {"deleted", "delete from accounts_dep.fatigue where id_p=%1", {"2"}},
    };
    for (const auto& c : cases) {
        db->exec(QStringLiteral("delete from accounts_dep.fatigue where id<>%1").arg(kept));
        entry(petrov, cleaning, 7777, 8, 150);
        fakes->messages.shown.clear();
        inHouseholdJournal([&] {
            ASSERT_EQ(listed(), QStringList({"Петров П.П.", "Сидоров С.С."}));
            db->exec(QString(c.otherChange).arg(petrov));
            Form25->Button7->click();
            EXPECT_EQ(listed(4), c.listed) << c.name;
        });
        EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить позицию из списка?", kStale})) << c.name;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.fatigue"), c.listed.size()) << c.name;
    }
}

// The worker or the nomenclature entry is deleted on another workstation while the foreman
// fills the editor: the save waits for the deletion, writes nothing and says what is gone.
TEST_F(HouseholdWorkstationsTest, ASaveForAWorkerOrEntryDeletedMeanwhileWritesNothingAndSaysSo)
{
    const struct {
        const char* table;
        int id;
        const char* worker;
        const char* nomenclature;
        QString message;
    } cases[] = {
        {"accounts_dep.person", petrov, "Пет", "Убо", "Ошибка: Работник удалён другим пользователем"},
        {"cmn_classifier.item", roofing, "Сид", "Рем", "Ошибка: Номенклатура удалена другим пользователем"},
    };
    for (const auto& c : cases) {
        fakes->messages.shown.clear();
        OtherWorkstation other(*db);
        inHouseholdJournal([&] {
            whileOpenedBy(Form25->Button5, [&] {
                pickWorker(c.worker);
                pickNomenclature(c.nomenclature);
                Form24->Edit6->setText("3");
                other.holdUntilWaitedFor([&](TDataModule6& module) {
                    module.ADO_DB.execute(QStringLiteral("delete from %1 where id=%2").arg(c.table).arg(c.id));
                });
                Form24->Button1->click();
                EXPECT_TRUE(Form24->isVisible()) << c.table;
            });
        });
        EXPECT_TRUE(other.finish()) << c.table << ": the save did not wait for the deletion";
        EXPECT_EQ(messageTexts(), QStringList{c.message}) << c.table;
        EXPECT_EQ(entryCount(), 0) << c.table;
    }
}

// Two workstations saving hours for one worker and date at once: the second waits for the
// first and counts its entry, so together they cannot pass the day's 24 hours.
TEST_F(HouseholdWorkstationsTest, TwoSavesForOneWorkersDayAtOnceStayWithin24Hours)
{
    OtherWorkstation other(*db);
    inHouseholdJournal([&] {
        whileOpenedBy(Form25->Button5, [&] {
            pickWorker("Пет");
            pickNomenclature("Убо");
            Form24->Edit6->setText("5");
            other.holdUntilWaitedFor([&](TDataModule6& module) {
                Command statement(module.ADO_DB, QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, "
                                                                "i_mnth, i_year, i_smena, cnt, price) values (%1, 7778, %2, "
                                                                "'2026-12-10', 12, 2026, 1, 20, 200)")
                                                     .arg(roofing)
                                                     .arg(petrov));
                EXPECT_EQ(household_entries::save(module, statement, {petrov, roofing, kThursday}),
                          household_entries::Outcome::Saved);
            });
            Form24->Button1->click();
            EXPECT_TRUE(Form24->isVisible());
        });
    });
    EXPECT_TRUE(other.finish()) << "the save did not wait for the other workstation";
    EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Кол-во: у работника за 10.12.2026 выходит 25 ч., а больше 24 быть не может"});
    EXPECT_EQ(db->scalar("select string_agg(cnt::text, ' ') from accounts_dep.fatigue"), "20");
}

}  // namespace
