#include "test_database.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// db/demo.sql loaded the way the demo loads it, with psql, into a database of the test's own.
class DemoDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QProcess psql;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PGPASSWORD"), QStringLiteral("wemplax"));
        psql.setProcessEnvironment(environment);
        psql.start(QStringLiteral("psql"), {QStringLiteral("-q"), QStringLiteral("-h"), TestDatabase::host(), QStringLiteral("-U"),
                                            QStringLiteral("sys"), QStringLiteral("-d"), db.name(), QStringLiteral("-v"),
                                            QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-f"), QStringLiteral(TABEL_DEMO_SQL)});
        ASSERT_TRUE(psql.waitForFinished(120000));
        ASSERT_EQ(psql.exitCode(), 0) << psql.readAllStandardError().toStdString();
    }

    TestDatabase db;
};

TEST_F(DemoDataTest, JournalAndHouseholdWorksHoldOnlyPlausibleRows)
{
    const QString paint = QStringLiteral(
        "(select upper(v.vid) like '%КРАСКА%' from accounts_dep.oper o join accounts_dep.vid_oper v on v.id = o.vid "
        "where o.id = s.o_id)");
    const struct {
        const char* rule;
        QString offending;  // a query counting the rows that break the rule
    } rules[] = {
        {"quantities are 1 or more", "select count(*) from accounts_dep.smena where coalesce(kol_vo, 0) < 1"},
        {"rejects are no more than the quantity",
         "select count(*) from accounts_dep.smena where brak is null or brak < 0 or brak > kol_vo"},
        {"every paint record has a colour", "select count(*) from accounts_dep.smena s where " + paint + " and coalesce(color, 0) = 0"},
        {"no other record has one", "select count(*) from accounts_dep.smena s where not " + paint + " and coalesce(color, 0) <> 0"},
        {"a record's item is its operation's",
         "select count(*) from accounts_dep.smena s join accounts_dep.oper o on o.id = s.o_id where o.i_id <> s.i_id"},
        {"no record is of a household work", "select count(*) from accounts_dep.smena where o_id in "
                                             "(select id from accounts_dep.oper where vid >= 7777)"},
        {"household operations are on an item that exists",
         "select count(*) from accounts_dep.oper o where o.vid >= 7777 "
         "and not exists (select 1 from accounts_dep.izdel i where i.id = o.i_id)"},
        {"household entries name a worker, a nomenclature entry and a household kind",
         "select count(*) from accounts_dep.fatigue f where f.id_o not in (7777, 7778) "
         "or not exists (select 1 from accounts_dep.person p where p.id = f.id_p) "
         "or not exists (select 1 from cmn_classifier.item i where i.id = f.id_nom)"},
        {"household entries are paid the hourly price of their kind",
         "select count(*) from accounts_dep.fatigue f where not exists (select 1 from accounts_dep.norm n "
         "join accounts_dep.oper o on o.id = n.o_id where o.vid = f.id_o and n.price = f.price)"},
        {"household entries carry the month and year of their date and some hours",
         "select count(*) from accounts_dep.fatigue where cnt < 1 or i_mnth <> extract(month from d_date) "
         "or i_year <> extract(year from d_date)"},
    };
    for (const auto& rule : rules)
        EXPECT_EQ(db.count(rule.offending), 0) << rule.rule;

    // Both household kinds have an operation with a norm, and the household journal lists entries.
    EXPECT_EQ(db.count("select count(distinct o.vid) from accounts_dep.oper o join accounts_dep.norm n on n.o_id = o.id "
                       "join accounts_dep.izdel i on i.id = o.i_id where o.vid in (7777, 7778) and o.i_id >= 7777"),
              2);
    EXPECT_GT(db.count("select count(distinct f.id) from accounts_dep.fatigue f, cmn_classifier.item i, accounts_dep.person p, "
                       "accounts_dep.vid_oper vo, accounts_dep.oper o where f.id_nom = i.id and p.id = f.id_p "
                       "and vo.id = f.id_o and o.i_id >= 7777 and o.vid >= 7777"),
              0);
    EXPECT_GT(db.count("select count(*) from accounts_dep.smena"), 500);
}

}  // namespace
