#include "app_fixture.h"
#include "data_grid.h"
#include "data_module.h"
#include "database_error.h"
#include "journal_window.h"
#include "legacy_import.h"
#include "legacy_source.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

// The seven targets in the order of the import, each with the columns a row is shown by.
struct Target {
    const char* table;
    const char* columns;
};
const Target kTargets[] = {
    {"accounts_dep.h_tabel", "id, w_id, month, year, smena, d1, d2, d31"},
    {"accounts_dep.izdel", "id, marka, nom, massa"},
    {"accounts_dep.nomenkl", "id, rtrim(marka), nom"},
    {"accounts_dep.oper", "id, vid, naimen, cena, i_id"},
    {"accounts_dep.vid_oper", "id, rtrim(vid)"},
    {"accounts_dep.workers", "id, rtrim(fio), rtrim(addr)"},
    {"accounts_dep.smena", "id, w_id, i_id, o_id, kol_vo, brak, smena, cena, color, ok, data, time, vvod"},
};

const QString kKept = QStringLiteral("rows of id 0 or less");

class LegacyImportTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        source = std::make_unique<LegacySource>();
        seed->classifierEntry(QStringLiteral("Стеллажи"));
        seedTargets();
    }

    // Rows of id 0 or less, which the import keeps, and rows it replaces.
    void seedTargets()
    {
        execEach(
            "insert into accounts_dep.h_tabel (id, w_id, smena, month, year, d1) values "
            "(0, 1, 1, 1, 2018, 1), (-1, 2, 1, 1, 2018, 2), (5, 3, 1, 1, 2018, 3);"
            "insert into accounts_dep.izdel (id, marka, massa) values (0, 'Старое 0', 1), (-2, 'Старое -2', 2), "
            "(50, 'Старое 50', 3);"
            "insert into accounts_dep.nomenkl (id, marka, nom) values (0, 'Н0', 'Г0'), (-1, 'Н-1', 'Г-1');"
            "insert into accounts_dep.nomenkl (marka, nom) values ('Н+', 'Г+');"
            "insert into accounts_dep.oper (id, vid, naimen, i_id) values (0, 1, 0, 0), (-1, 1, 0, 0), (60, 1, 0, 0);"
            "insert into accounts_dep.vid_oper (id, vid) values (0, 'Вид 0'), (70, 'Вид 70');"
            "insert into accounts_dep.workers values (0, 'Работник 0', ''), (80, 'Работник 80', '');"
            "insert into accounts_dep.smena (id, w_id, ok, data) values (0, 1, 'no', '2018-01-01'), "
            "(-5, 1, 'no', '2018-01-01'), (90, 1, 'no', '2018-01-01')");
    }

    // Statements separated by semicolons, one by one (the server takes one at a time).
    void execEach(const QString& statements)
    {
        for (const QString& statement : statements.split(QLatin1Char(';')))
            db->exec(statement);
    }

    // A few rows in every legacy table: nulls, Cyrillic, both date forms, items out of order.
    void fillSource()
    {
        source->exec(
            "INSERT INTO H_TABEL (ID, W_ID, MONTH, YEAR, SMENA, D1, D2, D31) VALUES "
            "(2, 102, 11, 2019, 2, 12, 6, NULL), (1, 101, 11, 2019, 1, 8, NULL, 4);"
            "INSERT INTO IZDEL VALUES (1002, 'Шкаф ШК-10', NULL, 30.25), (1001, 'Стеллаж СТ-1', 'Стеллажи', 12.5);"
            "INSERT INTO NOMENKL VALUES (7, 'Марка А', 'Группа 1'), (8, 'Марка Б', NULL);"
            "INSERT INTO OPER VALUES (11, 21, 0, 10.5, 1001), (12, 22, 1, 7.25, 1002);"
            "INSERT INTO VID_OPER VALUES (21, 'Покраска'), (22, 'Сварка');"
            "INSERT INTO WORKERS VALUES (101, 'Иванов И.И.', 'ул. Ленина, 1'), (102, 'Петров П.П.', NULL);"
            "INSERT INTO SMENA VALUES "
            "(501, 101, 1001, 11, 10, 1, 1, 10.5, 0, 'ok', '2019-11-05', 8, '2019-11-05 16:30:00'), "
            "(502, 102, 1002, 12, 5, 0, 2, 7.25, 3020, 'да', '06.11.2019', 4, '06.11.2019 08:15:00'), "
            "(503, 101, 1002, 12, 3, NULL, 4, 10.875, 1, NULL, '2019-11-07', 2, NULL)");
    }

    // Each target's rows in the order of id, "1|101|…", "-" for null.
    QStringList rows(int target)
    {
        QStringList shown;
        for (const QString& column : QString::fromLatin1(kTargets[target].columns).split(QStringLiteral(", ")))
            shown << QStringLiteral("coalesce((%1)::text, '-')").arg(column);
        return db->column(QStringLiteral("select concat_ws('|', %1) from %2 order by id")
                              .arg(shown.join(QStringLiteral(", ")), QLatin1String(kTargets[target].table)));
    }
    std::vector<QStringList> allRows()
    {
        std::vector<QStringList> all;
        for (int t = 0; t < 7; ++t)
            all.push_back(rows(t));
        return all;
    }

    // What the targets hold after fillSource() is imported.
    static std::vector<QStringList> imported()
    {
        return {
            {"-1|2|1|2018|1|2|-|-", "0|1|1|2018|1|1|-|-", "1|101|11|2019|1|8|-|4", "2|102|11|2019|2|12|6|-"},
            {"-2|Старое -2|-|2.000000", "0|Старое 0|-|1.000000", "1001|Стеллаж СТ-1|Стеллажи|12.500000",
             "1002|Шкаф ШК-10|-|30.250000"},
            // New keys from the server's generator, not the legacy 7 and 8.
            {"-1|Н-1|Г-1", "0|Н0|Г0", "2|Марка А|Группа 1", "3|Марка Б|-"},
            {"-1|1|0|-|0", "0|1|0|-|0", "11|21|0|10.5000|1001", "12|22|1|7.2500|1002"},
            {"0|Вид 0", "21|Покраска", "22|Сварка"},
            {"0|Работник 0|", "101|Иванов И.И.|ул. Ленина, 1", "102|Петров П.П.|-"},
            {"-5|1|-|-|-|-|-|-|-|no|2018-01-01|-|-", "0|1|-|-|-|-|-|-|-|no|2018-01-01|-|-",
             "501|101|1001|11|10|1|1|10.5|0|ok|2019-11-05|8|2019-11-05 16:30:00",
             "502|102|1002|12|5|0|2|7.25|3020|да|2019-11-06|4|2019-11-06 08:15:00",
             "503|101|1002|12|3|-|4|10.875|1|-|2019-11-07|2|-"},
        };
    }

    // The maintenance staff's key combination on the journal window.
    void pressImportKeys()
    {
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
        QTest::keyClick(Form1->DBGrid2, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier);
    }

    // Imports through the library on the program's connection, collecting the progress texts.
    QStringList importDirectly(int batchRows = 5000)
    {
        QStringList progress;
        legacy_import::Options options;
        options.batchRows = batchRows;
        legacy_import::importAll(DataModule6->ADO_DB, [&](const QString& text) { progress << text; }, options);
        return progress;
    }

    std::unique_ptr<LegacySource> source;
};

TEST_F(LegacyImportTest, FullAccessImportsEveryTableByTheKeysWhileTheLabelCounts)
{
    fillSource();
    QStringList progress;
    logIn(QStringLiteral("8573"), [&] {
        EXPECT_FALSE(Form1->N12->isVisible());
        EXPECT_FALSE(Form1->Label1->isVisible());
        // The window repaints between batches: a zero timer sees every text the label shows.
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QString text = Form1->Label1->text();
            if (text.isEmpty())
                return;  // not begun yet
            if (progress.isEmpty() || progress.last() != text)
                progress << text;
            EXPECT_FALSE(Form1->isEnabled());  // nothing else can be started meanwhile
        });
        watch.start();
        pressImportKeys();
        watch.stop();
        EXPECT_TRUE(Form1->Label1->isVisible());
        EXPECT_EQ(Form1->Label1->text(), QStringLiteral("smena: 3 из 3 записей"));
        EXPECT_TRUE(Form1->isEnabled());
        EXPECT_TRUE(Form1->Timer1->isActive());
    });
    EXPECT_EQ(progress, QStringList({"H_TABEL: 2 из 2 записей", "IZDEL: 2 из 2 записей", "NOMENKL: 2 из 2 записей",
                                     "OPER: 2 из 2 записей", "VID_OPER: 2 из 2 записей", "WORKERS: 2 из 2 записей",
                                     "smena: 3 из 3 записей"}));
    EXPECT_EQ(messageTexts(), QStringList());
    const std::vector<QStringList> expected = imported();
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(rows(t), expected[size_t(t)]) << kTargets[t].table;
    // The journal's references lead to the imported worker, item and operation.
    EXPECT_EQ(db->count("select count(*) from accounts_dep.smena s join accounts_dep.workers w on w.id = s.w_id "
                        "join accounts_dep.izdel i on i.id = s.i_id join accounts_dep.oper o on o.id = s.o_id "
                        "and o.i_id = s.i_id"),
              3);
}

TEST_F(LegacyImportTest, OtherRolesCannotReachTheImport)
{
    fillSource();
    const std::vector<QStringList> before = allRows();
    for (const char* code : {"fincal", "brigvex", "vrelk"}) {
        TearDown();
        SetUp();
        fillSource();
        logIn(QString::fromLatin1(code), [&] {
            pressImportKeys();
            EXPECT_FALSE(Form1->Label1->isVisible()) << code;
        });
        EXPECT_EQ(allRows(), before) << code;
        EXPECT_EQ(messageTexts(), QStringList()) << code;
    }
}

TEST_F(LegacyImportTest, ProgressAfterEachBatchAndAnEmptyTableOnlyEmptiesItsTarget)
{
    fillSource();
    source->exec("DELETE FROM WORKERS");
    EXPECT_EQ(importDirectly(2), QStringList({"H_TABEL: 2 из 2 записей", "IZDEL: 2 из 2 записей",
                                              "NOMENKL: 2 из 2 записей", "OPER: 2 из 2 записей",
                                              "VID_OPER: 2 из 2 записей", "smena: 2 из 3 записей",
                                              "smena: 3 из 3 записей"}));
    EXPECT_EQ(rows(5), QStringList({"0|Работник 0|"}));
    EXPECT_EQ(rows(6), imported()[6]);
}

TEST_F(LegacyImportTest, NewRowsGetKeysPastTheImportedOnes)
{
    fillSource();
    // A generator already past the imported keys is not moved back.
    db->exec("select setval('accounts_dep.vid_oper_id_seq', 100)");
    importDirectly();
    const std::pair<const char*, const char*> inserts[] = {
        {"insert into accounts_dep.h_tabel (w_id) values (1) returning id", "3"},
        {"insert into accounts_dep.izdel (marka) values ('Новое') returning id", "1003"},
        {"insert into cmn_gds_and_srv.gds_and_srv (s_caption) values ('Новое 2') returning id", "1004"},
        {"insert into accounts_dep.nomenkl (marka) values ('Новое') returning id", "4"},
        {"insert into accounts_dep.oper (vid) values (21) returning id", "13"},
        {"insert into accounts_dep.vid_oper (vid) values ('Новое') returning id", "101"},
        {"insert into accounts_dep.smena (w_id) values (101) returning id", "504"},
    };
    for (const auto& [insert, id] : inserts)
        EXPECT_EQ(db->scalar(QString::fromUtf8(insert)), QString::fromLatin1(id)) << insert;
}

TEST_F(LegacyImportTest, AFailureInTheFourthTableLeavesItAndTheLaterOnesAsTheyWere)
{
    fillSource();
    source->exec("UPDATE OPER SET NAIMEN = 70000 WHERE ID = 12");
    const std::vector<QStringList> before = allRows();
    logIn(QStringLiteral("8573"), [&] { pressImportKeys(); });
    ASSERT_EQ(messageTexts().size(), 1);
    const QString message = messageTexts().front();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Ошибка: Импорт прерван: OPER, запись 2 (id 12), поле NAIMEN: ")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("smallint"))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("Таблица accounts_dep.oper и следующие за ней остались как были.")))
        << message.toStdString();
    const std::vector<QStringList> expected = imported();
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(rows(t), t < 3 ? expected[size_t(t)] : before[size_t(t)]) << kTargets[t].table;
}

TEST_F(LegacyImportTest, AnUnreachableSourceChangesNothing)
{
    source = std::make_unique<LegacySource>(false);
    const std::vector<QStringList> before = allRows();
    logIn(QStringLiteral("8573"), [&] { pressImportKeys(); });
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts().front().startsWith(
        QStringLiteral("Ошибка: Импорт прерван: нет связи с источником данных «Tabel»: [")))
        << messageTexts().front().toStdString();
    EXPECT_TRUE(messageTexts().front().endsWith(QStringLiteral("Ни одна таблица не изменена.")));
    EXPECT_EQ(allRows(), before);
}

// Values of the journal's third row (the second batch of two) as the legacy source holds
// them, and what the server gets, or the message when the value does not convert.
TEST_F(LegacyImportTest, DatesAndNumbersConvertByFixedFormsOrNameTheirRowAndField)
{
    struct Case {
        const char* field;
        const char* legacy;
        const char* stored;  // the target column's text; empty when the import must refuse
        const char* reason;
    };
    const Case cases[] = {
        {"DATA", "'2019-03-05'", "2019-03-05", ""},
        {"DATA", "'05.03.2019'", "2019-03-05", ""},
        {"DATA", "'2019-03-05 00:00:00'", "2019-03-05", ""},
        {"VVOD", "'05.03.2019 14:30:00'", "2019-03-05 14:30:00", ""},
        {"VVOD", "'2019-03-05T14:30:00.25'", "2019-03-05 14:30:00.25", ""},
        {"VVOD", "'05.03.2019'", "2019-03-05 00:00:00", ""},
        {"CENA", "'12,5'", "12.5", ""},
        {"KOL_VO", "7.0", "7", ""},
        {"DATA", "'03/05/2019'", "", "«03/05/2019» не дата (нужно ГГГГ-ММ-ДД или ДД.ММ.ГГГГ)"},
        {"DATA", "'31.02.2019'", "", "«31.02.2019» не дата (нужно ГГГГ-ММ-ДД или ДД.ММ.ГГГГ)"},
        {"VVOD", "'2019-03-05 25:00:00'", "",
         "«2019-03-05 25:00:00» не дата и время (нужно ГГГГ-ММ-ДД ЧЧ:ММ:СС или ДД.ММ.ГГГГ ЧЧ:ММ:СС)"},
        {"KOL_VO", "'десять'", "", "«десять» не целое число"},
        {"TIME", "8.5", "", "«8.5» не целое число"},
        {"CENA", "'abc'", "", "«abc» не число"},
    };
    fillSource();
    for (const Case& c : cases) {
        source->exec(QStringLiteral("UPDATE SMENA SET %1 = %2 WHERE ID = 503").arg(c.field, QString::fromUtf8(c.legacy)));
        const QString column = QString::fromLatin1(c.field).toLower();
        if (*c.stored) {
            importDirectly(2);
            EXPECT_EQ(db->scalar(QStringLiteral("select %1::text from accounts_dep.smena where id = 503").arg(column)),
                      QString::fromUtf8(c.stored))
                << c.field << " " << c.legacy;
            continue;
        }
        execEach("delete from accounts_dep.smena where id > 0; insert into accounts_dep.smena (id, w_id, ok) "
                 "values (90, 1, 'no')");
        try {
            importDirectly(2);
            ADD_FAILURE() << "imported " << c.field << " " << c.legacy;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.text(), QStringLiteral("Импорт прерван: smena, запись 3 (id 503), поле %1: %2\n"
                                                   "Таблица accounts_dep.smena и следующие за ней остались как были.")
                                        .arg(c.field, QString::fromUtf8(c.reason)));
        }
        // The first batch was written before the refusal; the transaction takes it back.
        EXPECT_EQ(rows(6), QStringList({"-5|1|-|-|-|-|-|-|-|no|2018-01-01|-|-", "0|1|-|-|-|-|-|-|-|no|2018-01-01|-|-",
                                        "90|1|-|-|-|-|-|-|-|no|-|-|-"}))
            << c.field << " " << c.legacy;
        source->exec("UPDATE SMENA SET DATA = '2019-11-07', VVOD = NULL, KOL_VO = 3, TIME = 2, CENA = 10.875 "
                     "WHERE ID = 503");
    }
}

}  // namespace
