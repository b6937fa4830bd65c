// The administrator's group roles, run on a test database with one person per group: what
// each role's windows write goes through the program's own statements, everything else the
// database itself refuses, and the program tells the person so in its own words.
#include "acceptance.h"
#include "connection.h"
#include "data_module.h"
#include "database_error.h"
#include "person_roles.h"
#include "record_save.h"
#include "seed.h"
#include "test_database.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

class RolesScriptTest : public ::testing::Test {
protected:
    TestDatabase db;
    PersonRoles persons{db};
    Seed seed{db};
    Seed::Journal journal = seed.smallJournal();
    QDate day{2024, 3, 5};
    int recordId = seed.record(Seed::recordOf(journal, day, 1));

    // The program's data module connected as the person of a group.
    std::unique_ptr<TDataModule6> moduleOf(const QString& group)
    {
        auto module = std::make_unique<TDataModule6>([](const QString&) {});
        module->ADO_DB.open(persons.connectionStringOf(group));
        return module;
    }
    QString versionOf(int id) { return db.scalar(QStringLiteral("select xmin from accounts_dep.smena where id = %1").arg(id)); }
};

TEST_F(RolesScriptTest, EachRoleWritesWhatItsWindowsWriteThroughTheProgram)
{
    // The foreman adds a record; its hours come into the timesheet.
    {
        pay::JournalRecord added;
        added.workerId = journal.worker;
        added.itemId = journal.item;
        added.operationId = journal.operation;
        added.date = day;
        added.shift = 2;
        added.quantity = 5;
        added.hours = 6;
        added.price = 10.0;
        added.entered = day;
        const auto foreman = moduleOf(QStringLiteral("foreman"));
        EXPECT_EQ(record_save::save(*foreman, added).outcome, record_save::Outcome::Saved);
        EXPECT_EQ(db.scalar(QStringLiteral("select d5 from accounts_dep.h_tabel where w_id = %1 and smena = 2")
                                .arg(journal.worker)),
                  "6");
    }
    // The warehouse and full access switch the acceptance mark.
    for (const QString& group : {QStringLiteral("warehouse"), QStringLiteral("full")}) {
        const auto module = moduleOf(group);
        const QString mark = db.scalar(QStringLiteral("select ok from accounts_dep.smena where id = %1").arg(recordId));
        EXPECT_TRUE(acceptance::toggle(*module, recordId, mark, versionOf(recordId))) << group.toStdString();
        EXPECT_NE(db.scalar(QStringLiteral("select ok from accounts_dep.smena where id = %1").arg(recordId)), mark);
    }
    // Full access changes and deletes records.
    const auto full = moduleOf(QStringLiteral("full"));
    EXPECT_EQ(record_save::remove(*full, recordId, versionOf(recordId)), record_save::Outcome::Saved);
    EXPECT_EQ(db.count(QStringLiteral("select count(*) from accounts_dep.smena where id = %1").arg(recordId)), 0);
}

TEST_F(RolesScriptTest, TheDatabaseRefusesWhatARoleMayNotDoAndTheProgramSaysSoInRussian)
{
    const QString record = QString::number(recordId);
    const QString worker = QString::number(journal.worker);
    struct Case {
        QString statement;
        QStringList allowed;  // the groups that may
        const char* refusal;  // what the others are told
    };
    const QString everyone = QStringLiteral("reports foreman warehouse full");
    const Case cases[] = {
        {"update accounts_dep.ver set d = d", everyone.split(' '), ""},
        {"insert into accounts_dep.fatigue (d_date, cnt) values ('2024-03-05', 1)", everyone.split(' '), ""},
        {"insert into accounts_dep.smena (w_id, i_id, o_id, data, smena, color, ok) values (" + worker + ", "
             + QString::number(journal.item) + ", " + QString::number(journal.operation) + ", '2024-03-06', 1, 0, 'no')",
         {"foreman", "full"}, "Недостаточно прав: добавление («журнал смен»)"},
        {"update accounts_dep.smena set ok = 'ok' where id = " + record, {"warehouse", "full"},
         "Недостаточно прав: изменение («журнал смен»)"},
        {"update accounts_dep.smena set kol_vo = 99 where id = " + record, {"full"},
         "Недостаточно прав: изменение («журнал смен»)"},
        {"delete from accounts_dep.smena where id = " + record + " and false", {"full"},
         "Недостаточно прав: удаление («журнал смен»)"},
        {"update accounts_dep.h_tabel set d1 = 1 where false", {"foreman", "full"},
         "Недостаточно прав: изменение («табель»)"},
        {"update accounts_dep.oper set cena = 1 where false", {"full"}, "Недостаточно прав: изменение («операции»)"},
        {"insert into accounts_dep.person (fio) values ('Новый')", {"full"},
         "Недостаточно прав: добавление («рабочие»)"},
        {"delete from accounts_dep.norm where false", {"full"}, "Недостаточно прав: удаление («нормы»)"},
        {"update cmn_gds_and_srv.gds_and_srv set s_caption = s_caption where false", {"full"},
         "Недостаточно прав: изменение («изделия»)"},
        {"update cmn_contractor.person set s_caption = s_caption where false", {},
         "Недостаточно прав: изменение («данные ERP»)"},
    };
    for (const QString& group : PersonRoles::groups()) {
        Connection person;
        person.open(persons.connectionStringOf(group));
        for (const Case& c : cases) {
            const std::string what = group.toStdString() + ": " + c.statement.toStdString();
            try {
                person.inTransaction([&] {
                    person.execute(c.statement);
                    throw std::logic_error("rolled back");  // nothing tried here stays
                });
            } catch (const std::logic_error&) {
                EXPECT_TRUE(c.allowed.contains(group)) << what << " went through";
            } catch (const DatabaseError& error) {
                EXPECT_FALSE(c.allowed.contains(group)) << what << ": " << error.text().toStdString();
                EXPECT_EQ(error.sqlState(), "42501") << what;
                EXPECT_EQ(error.text(), QString::fromUtf8(c.refusal)) << what;
            }
        }
    }
}

// A second run, as after an update of the program, leaves the same privileges.
TEST_F(RolesScriptTest, RunningTheScriptAgainChangesNothing)
{
    const char* privileges =
        "select string_agg(c.relname || ' ' || coalesce(c.relacl::text, ''), ',' order by c.relname) from pg_class c "
        "where c.relnamespace in ('accounts_dep'::regnamespace, 'cmn_gds_and_srv'::regnamespace)";
    const QString before = db.scalar(privileges);
    persons.runScript();
    EXPECT_EQ(db.scalar(privileges), before);
}

}  // namespace
