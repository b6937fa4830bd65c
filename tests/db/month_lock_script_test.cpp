// The administrator's script of closed months and change history, run on a test database
// and tried through plain connections: the database itself must refuse and record, whoever
// writes.
#include "connection.h"
#include "database_error.h"
#include "qt_printers.h"
#include "test_database.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString scriptText()
{
    QFile file(QStringLiteral(TABEL_MONTH_LOCK_SCRIPT));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " TABEL_MONTH_LOCK_SCRIPT);
    return QString::fromUtf8(file.readAll());
}

// A connection as a given user, with the program's application_name when one is given.
class PlainConnection {
public:
    PlainConnection(const TestDatabase& db, const QString& user, const QString& password,
                    const QString& applicationName = QStringLiteral("psql"))
    {
        QString odbc = db.odbcConnectionString();
        odbc.replace(QStringLiteral("UID=sys;PWD=wemplax;"), QStringLiteral("UID=%1;PWD=%2;").arg(user, password));
        connection_.open(odbc);
        connection_.execute(QStringLiteral("set application_name = '%1'").arg(applicationName));
    }

    // Runs a statement; the SQLSTATE of its refusal, empty when it went through.
    QString run(const QString& sql)
    {
        try {
            connection_.execute(sql);
            return {};
        } catch (const DatabaseError& error) {
            lastError_ = error.text();
            return error.sqlState();
        }
    }
    // Several statements in one go, as psql sends a file.
    void runScript(const QString& text)
    {
        const PgResultHandle result(PQexec(connection_.raw(), text.toUtf8().constData()));
        ASSERT_EQ(PQresultStatus(result.get()), PGRES_COMMAND_OK) << PQresultErrorMessage(result.get());
    }
    const QString& lastError() const { return lastError_; }

private:
    Connection connection_;
    QString lastError_;
};

// Every object the script makes, with the identity the server gave it: a second run that
// replaced anything would change this.
const char* const kCatalogue =
    "select string_agg(item, ',' order by item) from ("
    " select 'rel ' || c.oid || ' ' || c.relname || ' ' || coalesce(c.relacl::text, '') as item"
    "   from pg_class c where c.relnamespace = 'accounts_dep'::regnamespace"
    " union all select 'trg ' || t.oid || ' ' || t.tgname from pg_trigger t where not t.tgisinternal"
    " union all select 'fn ' || p.oid || ' ' || p.proname || ' ' || coalesce(p.proacl::text, '') || md5(p.prosrc)"
    "   from pg_proc p where p.pronamespace = 'accounts_dep'::regnamespace"
    " union all select 'role ' || r.oid || ' ' || r.rolname from pg_roles r where r.rolname = 'tabel_month_closer'"
    ") objects";

// What the pay tables hold, to tell that a refused write changed nothing.
const char* const kPayData =
    "select md5(coalesce((select string_agg(s::text, ';' order by id) from accounts_dep.smena s), '')"
    " || coalesce((select string_agg(h::text, ';' order by id) from accounts_dep.h_tabel h), '')"
    " || coalesce((select string_agg(f::text, ';' order by id) from accounts_dep.fatigue f), ''))";

class MonthLockScriptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        asOwner().runScript(scriptText());
        asOwner().runScript(QStringLiteral(
            "insert into accounts_dep.smena (id, w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok)"
            " values (1, 501, 1001, 11, 12.5, 10, 1, '2026-11-05', 1, 0, 8, 'no'),"
            "        (2, 501, 1001, 11, 12.5, 4, 0, '2026-12-02', 1, 0, 4, 'no');"
            "insert into accounts_dep.h_tabel (id, w_id, smena, month, year, d5) values (1, 501, 1, 11, 2026, 8);"
            "insert into accounts_dep.fatigue (id, id_p, d_date, i_mnth, i_year, i_smena, cnt, price)"
            " values (1, 501, '2026-11-06', 11, 2026, 1, 3, 150)"));
    }
    void TearDown() override
    {
        for (const QString& role : roles_)
            asOwner().runScript(QStringLiteral("drop owned by %1; drop role %1").arg(role));
    }

    // A login role of this test alone (roles belong to the whole server).
    QString loginRole(const QString& grants)
    {
        const QString role = QStringLiteral("clerk_") + db.name();
        asOwner().runScript(
            QStringLiteral("create role %1 login password 'clerk'; grant usage on schema accounts_dep to %1;").arg(role)
            + QString(grants).replace(QStringLiteral("ROLE"), role));
        roles_ << role;
        return role;
    }

    PlainConnection asOwner() { return PlainConnection(db, QStringLiteral("sys"), QStringLiteral("wemplax")); }

    TestDatabase db;
    QStringList roles_;
};

TEST_F(MonthLockScriptTest, ASecondRunChangesNothing)
{
    const QString before = db.scalar(QString::fromLatin1(kCatalogue));
    asOwner().runScript(scriptText());
    EXPECT_EQ(db.scalar(QString::fromLatin1(kCatalogue)), before);
}

TEST_F(MonthLockScriptTest, EveryWriteDatedInAClosedMonthIsRefusedWhoeverSendsIt)
{
    db.exec(QStringLiteral("select accounts_dep.close_month(2026, 11)"));
    PlainConnection psql(db, QStringLiteral("sys"), QStringLiteral("wemplax"));
    const QString before = db.scalar(QString::fromLatin1(kPayData));
    const char* const refused[] = {
        "insert into accounts_dep.smena (w_id, i_id, o_id, data, smena, color) values (502, 1001, 11, '2026-11-20', 1, 0)",
        "update accounts_dep.smena set kol_vo = 11 where id = 1",
        "update accounts_dep.smena set ok = 'ok' where id = 1",
        "update accounts_dep.smena set data = '2026-12-05' where id = 1",  // out of the closed month
        "update accounts_dep.smena set data = '2026-11-30' where id = 2",  // into it
        "delete from accounts_dep.smena where id = 1",
        "insert into accounts_dep.h_tabel (w_id, smena, month, year) values (502, 2, 11, 2026)",
        "update accounts_dep.h_tabel set d5 = 9 where id = 1",
        "delete from accounts_dep.h_tabel where month = 11",
        "insert into accounts_dep.fatigue (id_p, d_date, i_mnth, i_year, cnt) values (502, '2026-11-07', 11, 2026, 2)",
        "update accounts_dep.fatigue set cnt = 4 where id = 1",
        "delete from accounts_dep.fatigue where id = 1",
    };
    for (const char* statement : refused) {
        EXPECT_EQ(psql.run(QString::fromLatin1(statement)), QStringLiteral("TB001")) << statement;
        // The program shows the refusal as it stands: the server's context lines stay out.
        EXPECT_EQ(psql.lastError(),
                  QStringLiteral("Месяц ноябрь 2026 закрыт (закрыл sys, %1). Исправления вносятся в открытом месяце.")
                      .arg(db.scalar(QStringLiteral("select to_char(now(), 'DD.MM.YYYY')"))))
            << statement;
    }
    EXPECT_EQ(db.scalar(QString::fromLatin1(kPayData)), before);

    // The ERP links its documents to records of any month; the open month takes writes.
    EXPECT_EQ(psql.run(QStringLiteral("update accounts_dep.smena set id_doc = 77, id_gds_use = 5 where id = 1")), QString());
    EXPECT_EQ(psql.run(QStringLiteral("update accounts_dep.smena set kol_vo = 5 where id = 2")), QString());
    EXPECT_EQ(psql.run(QStringLiteral("update accounts_dep.h_tabel set d5 = 9 where id = 1")), QStringLiteral("TB001"));

    db.exec(QStringLiteral("select accounts_dep.open_month(2026, 11)"));
    EXPECT_EQ(psql.run(QStringLiteral("update accounts_dep.h_tabel set d5 = 9 where id = 1")), QString());
}

TEST_F(MonthLockScriptTest, OnlyTheClosersRoleClosesAndOpensMonths)
{
    const QString clerk = loginRole(QString());
    PlainConnection asClerk(db, clerk, QStringLiteral("clerk"));
    EXPECT_EQ(asClerk.run(QStringLiteral("select accounts_dep.close_month(2026, 11)")), QStringLiteral("42501"));
    EXPECT_EQ(asClerk.run(QStringLiteral("insert into accounts_dep.closed_month (year, month) values (2026, 11)")),
              QStringLiteral("42501"));
    EXPECT_EQ(db.count(QStringLiteral("select count(*) from accounts_dep.closed_month")), 0);

    db.exec(QStringLiteral("grant tabel_month_closer to %1").arg(clerk));
    EXPECT_EQ(asClerk.run(QStringLiteral("select accounts_dep.close_month(2026, 11)")), QString());
    EXPECT_EQ(db.scalar(QStringLiteral("select year || '-' || month || ' ' || closed_by from accounts_dep.closed_month")),
              QStringLiteral("2026-11 ") + clerk);
    EXPECT_EQ(asClerk.run(QStringLiteral("select accounts_dep.open_month(2026, 11)")), QString());
    EXPECT_EQ(db.count(QStringLiteral("select count(*) from accounts_dep.closed_month")), 0);
}

TEST_F(MonthLockScriptTest, HistoryHoldsWhoChangedWhatWithTheRowBeforeAndAfter)
{
    const QString clerk = loginRole(QStringLiteral("grant select, insert, update, delete on accounts_dep.smena to ROLE;"));
    // The server keeps application_name in ASCII only: the program names its role in Latin letters.
    PlainConnection program(db, clerk, QStringLiteral("clerk"), QStringLiteral("Tabel 11.12.2026 10:00:00 foreman"));
    ASSERT_EQ(program.run(QStringLiteral("update accounts_dep.smena set kol_vo = 12, brak = 2 where id = 2")), QString());
    ASSERT_EQ(program.run(QStringLiteral("update accounts_dep.smena set ok = 'ok' where id = 2")), QString());
    ASSERT_EQ(program.run(QStringLiteral("update accounts_dep.smena set ok = 'ok' where id = 2")), QString());  // no change
    ASSERT_EQ(program.run(QStringLiteral("delete from accounts_dep.smena where id = 2")), QString());

    EXPECT_EQ(db.column(QStringLiteral(
                  "select action || ' ' || db_user || ' ' || application_name || ' '"
                  " || coalesce(old_row->>'kol_vo', '-') || '/' || coalesce(old_row->>'brak', '-') || '/'"
                  " || coalesce(old_row->>'ok', '-') || ' -> ' || coalesce(new_row->>'kol_vo', '-') || '/'"
                  " || coalesce(new_row->>'brak', '-') || '/' || coalesce(new_row->>'ok', '-')"
                  " from accounts_dep.record_history('smena', 2)"))
                  .join(QLatin1Char('\n')),
              (QStringList{
                  QStringLiteral("INSERT sys psql -/-/- -> 4/0/no"),
                  QStringLiteral("UPDATE %1 Tabel 11.12.2026 10:00:00 foreman 4/0/no -> 12/2/no").arg(clerk),
                  QStringLiteral("UPDATE %1 Tabel 11.12.2026 10:00:00 foreman 12/2/no -> 12/2/ok").arg(clerk),
                  QStringLiteral("DELETE %1 Tabel 11.12.2026 10:00:00 foreman 12/2/ok -> -/-/-").arg(clerk),
              })
                  .join(QLatin1Char('\n')));
    EXPECT_EQ(db.count(QStringLiteral("select count(*) from accounts_dep.changes(current_date, current_date + 1)"
                                      " where audited = 'smena' and record_id = 2")),
              4);
    // The seeded rows of the fixture are in the history too, by the user who wrote them.
    EXPECT_EQ(db.scalar(QStringLiteral("select action || ' ' || db_user from accounts_dep.record_history('fatigue', 1)")),
              QStringLiteral("INSERT sys"));
}

TEST_F(MonthLockScriptTest, NobodyButTheOwnerWritesOrDeletesHistory)
{
    const QString clerk = loginRole(QStringLiteral("grant select, insert, update, delete on accounts_dep.smena to ROLE;"));
    PlainConnection asClerk(db, clerk, QStringLiteral("clerk"));
    ASSERT_EQ(asClerk.run(QStringLiteral("update accounts_dep.smena set kol_vo = 3 where id = 2")), QString());
    const char* const forbidden[] = {
        "insert into accounts_dep.smena_audit (action, record_id) values ('DELETE', 2)",
        "update accounts_dep.smena_audit set db_user = 'nobody'",
        "delete from accounts_dep.smena_audit",
        "truncate accounts_dep.norm_audit",
        "select * from accounts_dep.smena_audit",
        "alter table accounts_dep.smena disable trigger change_history",
    };
    for (const char* statement : forbidden)
        EXPECT_EQ(asClerk.run(QString::fromLatin1(statement)), QStringLiteral("42501")) << statement;
    EXPECT_EQ(db.scalar(QStringLiteral("select string_agg(action || ' ' || db_user, ', ' order by id)"
                                       " from accounts_dep.smena_audit where record_id = 2")),
              QStringLiteral("INSERT sys, UPDATE %1").arg(clerk));
}

}  // namespace
