#include "data_module.h"
#include "sql_text.h"
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
    const QString count = "select count(*) as cnt from accounts_dep.vid_oper where vid = :vid";
    EXPECT_FALSE(module.CheckDuplicate(count, {{"vid", "Покраска"}}, "Такая операция уже есть"));
    EXPECT_TRUE(reported.isEmpty());
    EXPECT_FALSE(module.Control.isOpen());

    EXPECT_TRUE(module.CheckDuplicate(count, {{"vid", "Сборка"}}, "Такая операция уже есть"));
    EXPECT_EQ(reported, QStringList({"Такая операция уже есть"}));
    EXPECT_FALSE(module.Control.isOpen());

    EXPECT_TRUE(module.CheckDuplicate("select 1 as cnt", {}, QString()));
    EXPECT_EQ(reported.last(), QString());
}

// One value of the first row, whatever its column is called; a value typed with a quote
// is bound, not pasted; no row and a null both read as no value; the module's Control
// is closed afterwards, a failed read included.
TEST_F(DataModuleTest, ScalarReadsOneBoundValue)
{
    db.exec("insert into accounts_dep.vid_oper (vid) values ('Д''Артаньян'), ('Сборка')");
    EXPECT_EQ(module.scalar("select id from accounts_dep.vid_oper where vid = :vid", {{"vid", "Д'Артаньян"}}).toInt(), 1);
    EXPECT_EQ(module.scalar("select vid from accounts_dep.vid_oper where id = :id", {{"id", 2}}).toString().trimmed(),
              "Сборка");
    EXPECT_EQ(module.scalar("select count(*) from accounts_dep.vid_oper").toLongLong(), 2);
    EXPECT_FALSE(module.scalar("select id from accounts_dep.vid_oper where id = :id", {{"id", 99}}).isValid());
    EXPECT_FALSE(module.scalar("select null::integer as n").isValid());
    EXPECT_FALSE(module.Control.isOpen());
    EXPECT_THROW(module.scalar("select no_such_column from accounts_dep.vid_oper"), DatabaseError);
    EXPECT_FALSE(module.Control.isOpen());
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

TEST_F(DataModuleTest, TheProgramsSessionRunsWithoutTheJitCompiler)
{
    module.Control.setSql("show jit");
    module.Control.open();
    EXPECT_EQ(module.Control.fieldByName("jit").asString(), "off");
}

// A person code is an integer key only where the server reads it as one; anything else
// matches no key instead of failing the statement.
TEST_F(DataModuleTest, PersonCodeReadsAsAnIntegerOnlyWhereItIsOne)
{
    struct Case {
        const char* code;
        const char* read;  // "<null>": matches no key
    };
    const Case cases[] = {
        {"42", "42"},           {" -7 ", "-7"},         {"+5", "5"},
        {"000000000000012", "12"}, {"2147483647", "2147483647"}, {"-2147483648", "-2147483648"},
        {"2147483648", "<null>"}, {"-2147483649", "<null>"}, {"9876543210", "<null>"},
        {"П-17", "<null>"},     {"", "<null>"},         {"1 2", "<null>"},
        {"12.0", "<null>"},     {"-", "<null>"},
    };
    // Read from a column, as the queries read the codes.
    db.exec("create table codes (code text)");
    for (const Case& c : cases) {
        db.exec("truncate codes");
        db.exec("insert into codes values (" + sql_text::quoted(QString::fromUtf8(c.code)) + ")");
        EXPECT_EQ(db.scalar("select " + sql_text::integerOrNull("code") + " from codes"), c.read) << c.code;
        // Where the plain cast reads a code at all, it reads the same integer.
        if (QString(c.read) != "<null>") {
            EXPECT_EQ(db.scalar("select code::integer from codes"), c.read) << c.code;
        }
    }
    db.exec("update codes set code = null");
    EXPECT_EQ(db.scalar("select " + sql_text::integerOrNull("code") + " from codes"), "<null>");
}

// Only an index that holds every person's code as the number the queries compare proves that
// every code is a number: one being built, one over some rows or over another reading does not.
TEST_F(DataModuleTest, PersonCodesCountAsIndexedOnlyWithAFullIndexOnTheCodeAsANumber)
{
    struct Case {
        const char* index;  // created in place of the ERP's index; nullptr: none
        bool indexed;
    };
    const Case cases[] = {
        {"create index person_s_code_t_id on cmn_contractor.person ((s_code::public.t_id))", true},
        {"create index person_s_code_t_id on cmn_contractor.person ((s_code::t_id), s_caption)", false},
        {"create index person_s_code_t_id on cmn_contractor.person ((s_code::t_id)) where s_code <> ''", false},
        {"create index person_s_code_t_id on cmn_contractor.person ((s_code::numeric))", false},
        {"create index person_s_code_t_id on cmn_contractor.person (s_code)", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        db.exec("drop index cmn_contractor.person_s_code_t_id");
        if (c.index)
            db.exec(c.index);
        module.DetectDatabaseFeatures();
        EXPECT_EQ(module.PersonCodesIndexed, c.indexed) << (c.index ? c.index : "no index");
    }
}

}  // namespace
