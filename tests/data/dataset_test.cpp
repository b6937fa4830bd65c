#include "database_error.h"
#include "internal_error.h"
#include "dataset.h"
#include "dataset_model.h"
#include "test_database.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.open(db.odbcConnectionString());
        db.exec("create table accounts_dep.t (id serial primary key, name varchar(50), n integer, price double precision, "
                "day date)");
        db.exec("insert into accounts_dep.t (name, n, price, day) values "
                "('Иванов', 1, 10.5, '2026-12-01'), ('Петров', 2, 12.345, '2026-12-02'), "
                "('иванова', 3, null, null), ('Сидоров', 4, 7, '2026-12-04')");
    }

    TestDatabase db;
    Connection connection;
};

TEST_F(DatasetTest, ReadsEveryRowAndWalksThem)
{
    Dataset d(connection, "select * from accounts_dep.t order by n");
    EXPECT_FALSE(d.isOpen());
    d.open();
    ASSERT_EQ(d.recordCount(), 4);
    EXPECT_EQ(d.recNo(), 1);
    QStringList names;
    for (d.first(); !d.eof(); d.next())
        names << d.fieldByName("NAME").asString();
    EXPECT_EQ(names, QStringList({"Иванов", "Петров", "иванова", "Сидоров"}));

    d.setRecNo(2);
    EXPECT_EQ(d.fieldByName("n").asInteger(), 2);
    EXPECT_DOUBLE_EQ(d.fieldByName("price").asFloat(), 12.345);
    EXPECT_EQ(d.fieldByName("day").asDate(), QDate(2026, 12, 2));
    d.setRecNo(3);
    EXPECT_TRUE(d.fieldByName("price").isNull());
    EXPECT_EQ(d.fieldByName("price").asFloat(), 0.0);
    EXPECT_EQ(d.fieldByName("day").asString(), QString());
    EXPECT_THROW(d.fieldByName("missing"), InternalError);

    d.close();
    EXPECT_EQ(d.recordCount(), 0);
}

TEST_F(DatasetTest, SendsNamedParametersBoundByNameWithoutRegardToCase)
{
    Dataset d(connection, "select name from accounts_dep.t where name <> ':n' and n >= :N and day::date <= :Day order by n");
    d.setParam("n", 2);
    d.setParam("DAY", QDate(2026, 12, 2));
    d.open();
    ASSERT_EQ(d.recordCount(), 1);
    EXPECT_EQ(d.fieldByName("name").asString(), "Петров");

    // A typed value is never part of the statement text.
    Dataset quoted(connection, "select count(*) as cnt from accounts_dep.t where name = :name");
    quoted.setParam("name", "x'; drop table accounts_dep.t; --");
    quoted.open();
    EXPECT_EQ(quoted.fieldByName("cnt").asInteger(), 0);
    EXPECT_EQ(db.count("select count(*) from accounts_dep.t"), 4);
}

TEST_F(DatasetTest, FilterAndItsSwitchSurviveCloseAndOpen)
{
    Dataset d(connection, "select * from accounts_dep.t order by n");
    d.open();
    d.setFilter("name like 'ИВ%'");
    EXPECT_EQ(d.recordCount(), 4);  // the switch is still off
    d.setFiltered(true);
    ASSERT_EQ(d.recordCount(), 2);
    EXPECT_EQ(d.fieldByName("name").asString(), "Иванов");

    d.close();
    d.open();
    EXPECT_TRUE(d.filtered());
    EXPECT_EQ(d.filter(), "name like 'ИВ%'");
    EXPECT_EQ(d.recordCount(), 2);

    d.setFiltered(false);
    EXPECT_EQ(d.recordCount(), 4);
}

TEST_F(DatasetTest, LocateMovesToTheFirstMatchAmongFilteredRows)
{
    Dataset d(connection, "select * from accounts_dep.t order by n");
    d.open();
    EXPECT_TRUE(d.locate("name", "Сидоров"));
    EXPECT_EQ(d.recNo(), 4);
    EXPECT_TRUE(d.locate("price", 12.345));
    EXPECT_EQ(d.recNo(), 2);
    EXPECT_FALSE(d.locate("name", "Никто"));
    EXPECT_EQ(d.recNo(), 2);
}

// A re-read finds the record again by its key wherever it now stands; a record gone
// leaves the cursor at its position, or on the last record when the list got shorter.
TEST_F(DatasetTest, RefreshKeepsTheRecordByItsKeyOrElseItsPosition)
{
    Dataset d(connection, "select * from accounts_dep.t order by n");
    d.open();
    d.setRecNo(2);  // Петров
    db.exec("update accounts_dep.t set n = 10 where name = 'Петров'");
    d.refresh("id");
    EXPECT_EQ(d.recNo(), 4);
    EXPECT_EQ(d.fieldByName("name").asString(), "Петров");
    d.refresh();
    EXPECT_EQ(d.recNo(), 4);

    d.setRecNo(2);  // иванова
    db.exec("delete from accounts_dep.t where name = 'иванова'");
    d.refresh("id");
    EXPECT_EQ(d.fieldByName("name").asString(), "Сидоров");
    d.setRecNo(3);
    db.exec("delete from accounts_dep.t where name = 'Петров'");
    d.refresh("id");
    EXPECT_EQ(d.recNo(), 2);
    EXPECT_EQ(d.fieldByName("name").asString(), "Сидоров");
}

// Without a key the fallback places the cursor once the last of four records is gone:
// the position is kept, handed to the last record or given up for the first.
TEST_F(DatasetTest, RefreshFallsBackAsAsked)
{
    struct Case {
        Dataset::Fallback fallback;
        int standingOn;
        int expected;
    };
    const Case cases[] = {
        {Dataset::Fallback::Position, 4, 3},
        {Dataset::Fallback::Position, 2, 2},
        {Dataset::Fallback::PositionOrFirst, 4, 1},
        {Dataset::Fallback::PositionOrFirst, 2, 2},
        {Dataset::Fallback::First, 2, 1},
    };
    for (const Case& c : cases) {
        db.exec("delete from accounts_dep.t");
        db.exec("insert into accounts_dep.t (name, n) values ('А', 1), ('Б', 2), ('В', 3), ('Г', 4)");
        Dataset d(connection, "select * from accounts_dep.t order by n");
        d.open();
        d.setRecNo(c.standingOn);
        db.exec("delete from accounts_dep.t where n = 4");
        d.refresh({}, c.fallback);
        EXPECT_EQ(d.recNo(), c.expected) << int(c.fallback) << " from " << c.standingOn;
    }
}
TEST_F(DatasetTest, EditsBecomeStatementsByKey)
{
    Dataset d(connection, "select * from accounts_dep.t order by n");
    d.setUpdateTable("accounts_dep.t", {"id"});
    d.open();
    d.setRecNo(2);
    d.edit();
    d.fieldByName("name").setValue("Петров-Водкин");
    d.fieldByName("price").setValue(1.25);
    d.post();
    EXPECT_EQ(d.fieldByName("name").asString(), "Петров-Водкин");
    EXPECT_EQ(db.scalar("select name || ' ' || price from accounts_dep.t where n = 2"), "Петров-Водкин 1.25");

    d.append();
    d.fieldByName("name").setValue("O'Hara");
    d.fieldByName("n").setValue(5);
    d.post();
    EXPECT_EQ(d.recordCount(), 5);
    EXPECT_FALSE(d.fieldByName("id").isNull());  // the generated key comes back
    EXPECT_EQ(db.scalar("select name from accounts_dep.t where n = 5"), "O'Hara");

    d.setRecNo(1);
    d.deleteRecord();
    EXPECT_EQ(d.recordCount(), 4);
    EXPECT_EQ(db.count("select count(*) from accounts_dep.t where n = 1"), 0);
}

TEST_F(DatasetTest, KeylessTableIsUpdatedByItsOriginalValuesAndEditOnEmptyAppends)
{
    Dataset ver(connection, "select * from accounts_dep.ver");
    ver.setUpdateTable("accounts_dep.ver");
    ver.open();
    ASSERT_TRUE(ver.isEmpty());
    ver.edit();
    ver.fieldByName("d").setValue(20240212);
    ver.fieldByName("t").setValue(59128);
    ver.post();
    EXPECT_EQ(db.scalar("select d || '/' || t || '/' || coalesce(delim, '<null>') from accounts_dep.ver"), "20240212/59128/<null>");

    ver.edit();
    ver.fieldByName("t").setValue(1);
    ver.post();
    EXPECT_EQ(db.column("select d || '/' || t from accounts_dep.ver"), QStringList({"20240212/1"}));
}

TEST_F(DatasetTest, ServerErrorBecomesDatabaseErrorWithTheServerText)
{
    Dataset d(connection, "select * from accounts_dep.no_such_table");
    try {
        d.open();
        FAIL() << "no error";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains("no_such_table")) << error.text().toStdString();
    }
    EXPECT_FALSE(d.isOpen());
}

TEST_F(DatasetTest, ModelShowsFilteredRowsWithTheUsersDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Dataset d(connection, "select * from accounts_dep.t order by n");
    DatasetModel model(d, {{"name", "Имя", 100}, {"price", "Цена", 50}, {"day", "День", 50}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    d.open();
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.index(1, 1).data().toString(), "12,345");
    EXPECT_EQ(model.index(0, 2).data().toString(), "01.12.2026");
    EXPECT_EQ(model.index(2, 1).data().toString(), "");
    d.setFilter("n > 2");
    d.setFiltered(true);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Цена");
    d.close();
    EXPECT_EQ(model.rowCount(), 0);
    QLocale::setDefault(QLocale::c());
}

TEST(DisplayFormat, NumbersKeepTheirDecimalsWithinTheColumnsPattern)
{
    struct Case {
        const char* stored;
        unsigned oid;
        int minDecimals, maxDecimals;
        const char* shown;
    };
    const Case cases[] = {
        {"12.5", 701, 2, 3, "12.50"},   {"0.125", 701, 2, 3, "0.125"}, {"10", 701, 2, 3, "10.00"},
        {"12.3450", 1700, 0, -1, "12.345"}, {"10.0000", 1700, 0, -1, "10"}, {"98.76", 1700, 0, -1, "98.76"},
        {"7", 23, 0, -1, "7"},           {"Покраска   ", 1042, 0, -1, "Покраска"},
        {"2026-12-10 00:00:00", 1114, 0, -1, "10.12.2026"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatForDisplay(c.stored, c.oid, c.minDecimals, c.maxDecimals), QString::fromUtf8(c.shown)) << c.stored;
}

}  // namespace
