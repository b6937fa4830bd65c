#include "data_module.h"
#include "journal_record.h"
#include "record_save.h"
#include "seed.h"
#include "test_database.h"

#include <gtest/gtest.h>
#include <functional>

namespace {

pay::JournalRecord validRecord()
{
    pay::JournalRecord r;
    r.quantity = 10;
    r.rejects = 2;
    r.colour = 0;
    r.hours = 8;
    return r;
}

TEST(JournalRecordCheck, RefusesValuesTheColumnsCannotHoldAndMoreRejectsThanPieces)
{
    const struct {
        const char* name;
        std::function<void(pay::JournalRecord&)> change;
        QString refusal;
    } cases[] = {
        {"as typed", [](pay::JournalRecord&) {}, QString()},
        {"rejects equal the quantity", [](pay::JournalRecord& r) { r.rejects = 10; }, QString()},
        {"rejects over the quantity", [](pay::JournalRecord& r) { r.rejects = 11; },
         QStringLiteral("Брак не может быть больше количества!")},
        {"rejects over their column", [](pay::JournalRecord& r) { r.quantity = 40000; r.rejects = 32768; },
         QStringLiteral("Брак: число слишком большое (не больше 32767)")},
        {"negative quantity", [](pay::JournalRecord& r) { r.quantity = -1; r.rejects = 0; },
         QStringLiteral("Кол-во: число не может быть отрицательным")},
        {"a day of 25 hours", [](pay::JournalRecord& r) { r.hours = 25; },
         QStringLiteral("Время: число слишком большое (не больше 24)")},
    };
    for (const auto& c : cases) {
        pay::JournalRecord r = validRecord();
        c.change(r);
        EXPECT_EQ(pay::refusal(r), c.refusal) << c.name;
    }
}

class RecordSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        j = seed.smallJournal();
        module.ADO_DB.open(db.odbcConnectionString());
    }
    pay::JournalRecord recordOf(int hours, int colour) const
    {
        pay::JournalRecord r = validRecord();
        r.workerId = j.worker;
        r.itemId = j.item;
        r.operationId = j.operation;
        r.date = kDay;
        r.entered = kDay;
        r.shift = 1;
        r.colour = colour;
        r.hours = hours;
        r.price = 12.5;
        return r;
    }

    const QDate kDay{2026, 12, 10};
    TestDatabase db;
    Seed seed{db};
    Seed::Journal j{};
    TDataModule6 module{[](const QString&) {}};
};

// The day's hours are summed with the record written: two records of one worker's day
// that pass 24 hours together are refused, and the second one leaves nothing behind.
TEST_F(RecordSaveTest, ADayOverTwentyFourHoursIsRefusedAndNothingOfItStays)
{
    EXPECT_EQ(record_save::save(module, recordOf(20, 1)).outcome, record_save::Outcome::Saved);
    const record_save::Result second = record_save::save(module, recordOf(5, 2));
    EXPECT_EQ(second.outcome, record_save::Outcome::DayOverHours);
    EXPECT_EQ(second.refusal, QStringLiteral("Время: у работника за 10.12.2026 в этой смене выходит 25 ч., а больше 24 быть не может"));
    EXPECT_EQ(db.count("select count(*) from accounts_dep.smena where color = 2"), 0);
    EXPECT_EQ(db.scalar("select d10 from accounts_dep.h_tabel where month = 12 and year = 2026"), "20");

    const record_save::Result again = record_save::save(module, recordOf(20, 1));
    EXPECT_EQ(again.outcome, record_save::Outcome::Duplicate);
    EXPECT_EQ(again.refusal, QStringLiteral("Позиция с такими параметрами уже заведена!"));
}

}  // namespace
