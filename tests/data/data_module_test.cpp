#include "data_module.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace {

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override { module.ADO_DB.open(db.odbcConnectionString()); }

    TestDatabase db;
    QStringList reported;
    TDataModule6 module{[this](const QString& message) { reported << message; }};
};

TEST_F(DataModuleTest, CheckDuplicateShowsTheMessageOnceOnlyWhenTheCountIsAboveZero)
{
    db.exec("insert into accounts_dep.vid_oper (vid) values ('Сборка'), ('Сборка')");
    EXPECT_FALSE(module.CheckDuplicate("select count(*) as cnt from accounts_dep.vid_oper where vid = 'Покраска'",
                                       "Такая операция уже есть"));
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_FALSE(module.Control.isOpen());

    EXPECT_TRUE(module.CheckDuplicate("select count(*) as cnt from accounts_dep.vid_oper where vid = 'Сборка'",
                                      "Такая операция уже есть"));
    EXPECT_EQ(reported, QStringList({"Такая операция уже есть"}));
    EXPECT_FALSE(module.Control.isOpen());

    EXPECT_TRUE(module.CheckDuplicate("select 1 as cnt", QString()));
    EXPECT_EQ(reported.last(), QString());
}

TEST_F(DataModuleTest, EveryQueryOfTheModuleRunsOnTheSchema)
{
    for (Dataset* d : {&module.Workers, &module.Izdel, &module.Vid_oper, &module.Oper}) {
        EXPECT_NO_THROW(d->open()) << d->sql().toStdString();
    }
    for (int shift = 1; shift <= 4; ++shift) {
        Dataset& d = module.shiftQuery(shift);
        d.setParam("data", QDate(2026, 12, 10));
        EXPECT_NO_THROW(d.open()) << shift;
    }
    for (int shift = 1; shift <= 3; ++shift) {
        Dataset& d = module.timesheetQuery(shift);
        d.setParam("mnth", 12);
        d.setParam("yea", 2026);
        d.setParam("date1", QDate(2026, 12, 1));
        d.setParam("date2", QDate(2027, 1, 1));
        EXPECT_NO_THROW(d.open()) << shift;
    }
    EXPECT_EQ(module.Smena1.param("OK"), QVariant("ok"));
    EXPECT_EQ(module.Smena2.param("ok"), QVariant("ta"));
}

}  // namespace
