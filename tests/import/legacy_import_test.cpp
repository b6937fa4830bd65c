#include "app_fixture.h"
#include "data_grid.h"
#include "data_module.h"
#include "database_error.h"
#include "app/journal_window.h"
#include "import/legacy_import.h"
#include "legacy_source.h"

#include "connection_string.h"
#include "test_database.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
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
            "insert into accounts_dep.oper (id, vid, naimen, i_id) values (0, 1, 0, 0), (-1, 1, 0, 0), (60, 1, 0, 0), "
            "(11, 1, 0, 0);"
            // Norm rows of operations the import replaces (60, and 11 whose id it brings anew)
            // and of one it keeps (0).
            "insert into accounts_dep.norm (o_id, norma, price, prize) values (60, 5, 99, 1), (11, 6, 77, 2), "
            "(0, 7, 55, 3);"
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

    // The norm rows, "o_id|norma|price|prize", in the order of o_id and price.
    QStringList norms()
    {
        return db->column("select concat_ws('|', o_id, norma, price, prize) from accounts_dep.norm order by o_id, price");
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
        all.push_back(norms());
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

    // Logs in with full access and presses the import keys; the text of the problems
    // window, "" when none was shown. The label's text afterwards goes to `label`.
    QString importThroughKeys()
    {
        QString text;
        logIn(QStringLiteral("8573"), [&] {
            fakes->modalActions.push_back([&](QDialog& dialog) {
                EXPECT_EQ(dialog.objectName(), QStringLiteral("ImportProblems"));
                EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Импорт не выполнен"));
                auto* list = dialog.findChild<QPlainTextEdit*>(QStringLiteral("ProblemList"));
                EXPECT_TRUE(list && list->isReadOnly());
                text = list ? list->toPlainText() : QString();
                return int(QDialog::Accepted);
            });
            pressImportKeys();
            label = Form1->Label1->text();
        });
        return text;
    }

    // The problems the import refuses the source for; fails when it imports.
    std::vector<QString> refusedProblems()
    {
        try {
            importDirectly(2);
        } catch (const legacy_import::ImportRefused& refused) {
            return refused.problems();
        }
        ADD_FAILURE() << "imported";
        return {};
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
    QString label;
};

const QStringList kCheckedAndWritten = {
    "Проверка H_TABEL: 2 из 2 записей", "Проверка IZDEL: 2 из 2 записей", "Проверка NOMENKL: 2 из 2 записей",
    "Проверка OPER: 2 из 2 записей",    "Проверка VID_OPER: 2 из 2 записей", "Проверка WORKERS: 2 из 2 записей",
    "Проверка SMENA: 3 из 3 записей",   "Запись в базу: H_TABEL",            "Запись в базу: IZDEL",
    "Запись в базу: NOMENKL",           "Запись в базу: OPER",               "Запись в базу: VID_OPER",
    "Запись в базу: WORKERS",           "Запись в базу: SMENA"};

// Each imported operation is priced by one norm row at its legacy price; the norm rows of
// the operations replaced are gone, those of the kept ones stay.
const QStringList kNormsAfterImport = {"0|7|55|3", "11|0|10.5|0", "12|0|7.25|0"};

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
            if (text.isEmpty() || !Form1->isVisible())
                return;  // not begun yet
            if (progress.isEmpty() || progress.last() != text)
                progress << text;
            EXPECT_FALSE(Form1->isEnabled());  // nothing else can be started meanwhile
        });
        watch.start();
        pressImportKeys();
        watch.stop();
        EXPECT_TRUE(Form1->Label1->isVisible());
        EXPECT_EQ(Form1->Label1->text(), QStringLiteral("Импорт выполнен"));
        EXPECT_TRUE(Form1->isEnabled());
        EXPECT_TRUE(Form1->Timer1->isActive());
    });
    EXPECT_EQ(progress, kCheckedAndWritten);
    EXPECT_EQ(messageTexts(), QStringList());
    const std::vector<QStringList> expected = imported();
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(rows(t), expected[size_t(t)]) << kTargets[t].table;
    EXPECT_EQ(norms(), kNormsAfterImport);
    // The journal's references lead to the imported worker, item and operation, and every
    // record's operation has its price.
    EXPECT_EQ(db->count("select count(*) from accounts_dep.smena s join accounts_dep.workers w on w.id = s.w_id "
                        "join accounts_dep.izdel i on i.id = s.i_id join accounts_dep.oper o on o.id = s.o_id "
                        "and o.i_id = s.i_id join accounts_dep.norm n on n.o_id = o.id and n.price = o.cena"),
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
    QStringList expected = kCheckedAndWritten;
    expected.removeAll(QStringLiteral("Проверка WORKERS: 2 из 2 записей"));
    expected.replace(expected.indexOf(QStringLiteral("Проверка SMENA: 3 из 3 записей")),
                     QStringLiteral("Проверка SMENA: 2 из 3 записей"));
    expected.insert(expected.indexOf(QStringLiteral("Проверка SMENA: 2 из 3 записей")) + 1,
                    QStringLiteral("Проверка SMENA: 3 из 3 записей"));
    EXPECT_EQ(importDirectly(2), expected);
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

// The plant's earlier program had no lock: records repeat one another, once with the
// date written in another form. Both groups are named in one window, nothing is written.
TEST_F(LegacyImportTest, RepeatedJournalRecordsAreListedTogetherAndNothingChanges)
{
    fillSource();
    source->exec("INSERT INTO SMENA VALUES "
                 "(504, 102, 1002, 12, 1, 0, 2, 7.25, 3020, 'no', '06.11.2019', 1, NULL), "
                 "(505, 101, 1001, 11, 2, 0, 1, 10.5, 0, 'no', '2019-11-05 00:00:00', 1, NULL), "
                 "(506, 101, 1001, 11, 2, 0, 1, 10.5, 0, 'no', '05.11.2019', 1, NULL), "
                 // the same but for the colour, and the same but for the shift: no repeats
                 "(507, 102, 1002, 12, 1, 0, 2, 7.25, 0, 'no', '06.11.2019', 1, NULL), "
                 "(508, 102, 1002, 12, 1, 0, 3, 7.25, 3020, 'no', '06.11.2019', 1, NULL)");
    const std::vector<QStringList> before = allRows();
    const QString text = importThroughKeys();
    EXPECT_EQ(label, QStringLiteral("Импорт не выполнен"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5) << text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Импорт не выполнен: ошибок в исходной базе: 2. База данных не изменена."));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Полный список записан в файл "))) << lines[1].toStdString();
    EXPECT_EQ(lines.mid(3, 2),
              QStringList({"SMENA: записи с id 501, 505, 506 повторяют друг друга (работник 101, изделие 1001, "
                           "операция 11, дата 05.11.2019, смена 1, цвет 0)",
                           "SMENA: записи с id 502, 504 повторяют друг друга (работник 102, изделие 1002, "
                           "операция 12, дата 06.11.2019, смена 2, цвет 3020)"}));
    // The file beside the exports holds the same list.
    QFile file(lines[1].mid(QStringLiteral("Полный список записан в файл ").size()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QString saved = QString::fromUtf8(file.readAll());
    file.remove();
    EXPECT_TRUE(saved.contains(lines[3]) && saved.contains(lines[4])) << saved.toStdString();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(allRows(), before);
}

// A conversion problem in every row: the window lists the first 200 and counts the rest;
// the file holds them all.
TEST_F(LegacyImportTest, ALongListShowsTheFirstTwoHundredAndTheFileHoldsAll)
{
    fillSource();
    source->exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 250) "
                 "INSERT INTO SMENA (ID, W_ID, KOL_VO, DATA) SELECT 1000 + i, 101, 'много', '2019-12-01' FROM n");
    const QString text = importThroughKeys();
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2 + 200 + 1) << text.toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("SMENA, запись 4 (id 1001), поле KOL_VO: «много» не целое число"));
    EXPECT_EQ(lines[201], QStringLiteral("SMENA, запись 203 (id 1200), поле KOL_VO: «много» не целое число"));
    EXPECT_EQ(lines[202], QStringLiteral("… и ещё 50 (весь список в файле)"));
    QFile file(lines[1].mid(QStringLiteral("Полный список записан в файл ").size()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList saved = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    file.remove();
    ASSERT_EQ(saved.size(), 1 + 250);
    EXPECT_EQ(saved.last(), QStringLiteral("SMENA, запись 253 (id 1250), поле KOL_VO: «много» не целое число"));
}

// Problems of the sixth table and of an earlier one: the first five stay as they were too.
TEST_F(LegacyImportTest, AProblemInTheSixthTableLeavesTheFirstFiveAsTheyWereToo)
{
    fillSource();
    source->exec("INSERT INTO WORKERS VALUES (3000000000, 'Сидоров С.С.', NULL)");
    source->exec("UPDATE OPER SET NAIMEN = 70000 WHERE ID = 12");
    const std::vector<QStringList> before = allRows();
    const QString worker = QStringLiteral("WORKERS, запись 3 (id 3000000000), поле Id: ");
    const QString range = QStringLiteral(" (целое от -2147483648 до 2147483647)");
    EXPECT_EQ(refusedProblems(),
              std::vector<QString>(
                  {"OPER, запись 2 (id 12), поле NAIMEN: значение «70000» не помещается в accounts_dep.oper.naimen "
                   "(целое от -32768 до 32767)",
                   worker + "значение «3000000000» не помещается в accounts_dep.workers.id" + range,
                   worker + "ключ «3000000000» не помещается в accounts_dep.smena.w_id, которое ссылается на эту "
                            "таблицу" + range,
                   worker + "ключ «3000000000» не помещается в accounts_dep.h_tabel.w_id, которое ссылается на эту "
                            "таблицу" + range}));
    EXPECT_EQ(allRows(), before);
}

TEST_F(LegacyImportTest, AnUnreachableSourceChangesNothing)
{
    source = std::make_unique<LegacySource>(false);
    const std::vector<QStringList> before = allRows();
    logIn(QStringLiteral("8573"), [&] {
        pressImportKeys();
        EXPECT_EQ(Form1->Label1->text(), QStringLiteral("Импорт не выполнен"));
    });
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts().front().startsWith(
        QStringLiteral("Ошибка: Импорт не выполнен: нет связи с источником данных «Tabel»: [")))
        << messageTexts().front().toStdString();
    EXPECT_TRUE(messageTexts().front().endsWith(QStringLiteral("База данных не изменена.")));
    EXPECT_EQ(allRows(), before);
}

// The seven tables named in small letters, or one missing.
TEST_F(LegacyImportTest, TableNamesAreFoundInAnyLetterCase)
{
    fillSource();
    for (const char* table : {"H_TABEL", "IZDEL", "NOMENKL", "OPER", "VID_OPER", "WORKERS", "SMENA"}) {
        const QString name = QString::fromLatin1(table);
        source->exec(QStringLiteral("ALTER TABLE %1 RENAME TO renamed; ALTER TABLE renamed RENAME TO %2")
                         .arg(name, name.toLower()));
    }
    const QStringList progress = importDirectly();
    EXPECT_EQ(progress.first(), QStringLiteral("Проверка h_tabel: 2 из 2 записей"));
    EXPECT_EQ(progress.last(), QStringLiteral("Запись в базу: smena"));
    const std::vector<QStringList> expectedRows = imported();
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(rows(t), expectedRows[size_t(t)]) << kTargets[t].table;

    source->exec("DROP TABLE vid_oper");
    const std::vector<QStringList> before = allRows();
    EXPECT_EQ(refusedProblems(), std::vector<QString>({"VID_OPER: такой таблицы нет в источнике данных «Tabel»"}));
    EXPECT_EQ(allRows(), before);
}

// Values of the journal's third row (the second batch of two) as the legacy source holds
// them, and what the server gets, or the problem named when the value does not convert.
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
        // A Russian desktop's hour before ten.
        {"VVOD", "'16.09.2019 9:42:02'", "2019-09-16 09:42:02", ""},
        {"VVOD", "'2019-09-16 9:42'", "2019-09-16 09:42:00", ""},
        // What a spreadsheet round trip leaves, and MariaDB's zero dates: no value.
        {"KOL_VO", "''", "<null>", ""},
        {"CENA", "'  '", "<null>", ""},
        {"DATA", "''", "<null>", ""},
        {"DATA", "'0000-00-00'", "<null>", ""},
        {"VVOD", "'0000-00-00 00:00:00'", "<null>", ""},
        {"CENA", "'12,5'", "12.5", ""},
        {"KOL_VO", "7.0", "7", ""},
        {"DATA", "'03/05/2019'", "", "«03/05/2019» не дата (нужно ГГГГ-ММ-ДД или ДД.ММ.ГГГГ)"},
        {"DATA", "'31.02.2019'", "", "«31.02.2019» не дата (нужно ГГГГ-ММ-ДД или ДД.ММ.ГГГГ)"},
        {"VVOD", "'2019-03-05 25:00:00'", "",
         "«2019-03-05 25:00:00» не дата и время (нужно ГГГГ-ММ-ДД ЧЧ:ММ:СС или ДД.ММ.ГГГГ ЧЧ:ММ:СС)"},
        {"VVOD", "'2019-03-05 123:00'", "",
         "«2019-03-05 123:00» не дата и время (нужно ГГГГ-ММ-ДД ЧЧ:ММ:СС или ДД.ММ.ГГГГ ЧЧ:ММ:СС)"},
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
        } else {
            execEach("delete from accounts_dep.smena where id > 0; insert into accounts_dep.smena (id, w_id, ok) "
                     "values (90, 1, 'no')");
            const std::vector<QStringList> before = allRows();
            EXPECT_EQ(refusedProblems(),
                      std::vector<QString>({QStringLiteral("SMENA, запись 3 (id 503), поле %1: %2")
                                                .arg(c.field, QString::fromUtf8(c.reason))}))
                << c.field << " " << c.legacy;
            EXPECT_EQ(allRows(), before) << c.field << " " << c.legacy;
        }
        source->exec("UPDATE SMENA SET DATA = '2019-11-07', VVOD = NULL, KOL_VO = 3, TIME = 2, CENA = 10.875 "
                     "WHERE ID = 503");
    }
}

// An item group the classifier does not know would leave its items without a group: the
// import names it, and the items view itself refuses it by its caption.
TEST_F(LegacyImportTest, AnUnknownItemGroupIsNamedNotDropped)
{
    fillSource();
    source->exec("INSERT INTO IZDEL VALUES (1003, 'Полка', 'Полки', 1), (1004, 'Полка 2', 'Полки', 1), "
                 "(1005, 'Без группы', '', 1)");
    const std::vector<QStringList> before = allRows();
    EXPECT_EQ(refusedProblems(), std::vector<QString>({"IZDEL, поле NOM: группы «Полки» нет в классификаторе "
                                                       "изделий (изделия с id 1003, 1004)"}));
    EXPECT_EQ(allRows(), before);
    try {
        db->exec("insert into accounts_dep.izdel (marka, nom) values ('Полка', 'Полки')");
        ADD_FAILURE() << "the view stored an item without its group";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("Группы изделий «Полки» нет в классификаторе")))
            << error.text().toStdString();
    }
    seed->classifierEntry(QStringLiteral("Полки"));
    importDirectly();
    EXPECT_EQ(db->column("select coalesce(nom, '-') from accounts_dep.izdel where id > 1002 order by id"),
              QStringList({"Полки", "Полки", "-"}));
}

// Item keys above the integer range fit the catalogue but not the operations and the
// journal that refer to them: named before anything is written, no generator moved.
TEST_F(LegacyImportTest, KeysTheReferringColumnsCannotHoldAreNamed)
{
    fillSource();
    source->exec("INSERT INTO IZDEL VALUES (3000000000, 'Большой ключ', NULL, 1)");
    const QString generator = db->scalar("select last_value from cmn_gds_and_srv.gds_and_srv_id_seq");
    const std::vector<QStringList> before = allRows();
    const QString range = QStringLiteral("(целое от -2147483648 до 2147483647)");
    EXPECT_EQ(refusedProblems(),
              std::vector<QString>(
                  {"IZDEL, запись 3 (id 3000000000), поле ID: ключ «3000000000» не помещается в "
                   "accounts_dep.oper.i_id, которое ссылается на эту таблицу " + range,
                   "IZDEL, запись 3 (id 3000000000), поле ID: ключ «3000000000» не помещается в "
                   "accounts_dep.smena.i_id, которое ссылается на эту таблицу " + range}));
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(db->scalar("select last_value from cmn_gds_and_srv.gds_and_srv_id_seq"), generator);
}

// The earlier database on PostgreSQL, read through its Unicode driver: tables created with
// quoted capitals and one in small letters, found as the source spells them.
class PostgresSourceTest : public LegacyImportTest {
protected:
    void SetUp() override
    {
        LegacyImportTest::SetUp();
        sourceName = db->name() + QStringLiteral("_source");
        admin("create role %1 login password 'torvaplin'; create database %1 owner %1");
        sourceDb.open(connection_string::compose(sourceName, TestDatabase::host()));
        QString days;
        for (int day = 1; day <= 31; ++day)
            days += QStringLiteral(", \"D%1\" integer").arg(day);
        for (const QString& statement :
             {QStringLiteral("create table \"H_TABEL\" (\"ID\" integer, \"W_ID\" integer, \"MONTH\" integer, "
                             "\"YEAR\" integer, \"SMENA\" integer%1)")
                  .arg(days),
              QStringLiteral("create table \"IZDEL\" (\"ID\" bigint, \"MARKA\" varchar(254), \"NOM\" varchar(255), "
                             "\"MASSA\" real)"),
              QStringLiteral("create table \"NOMENKL\" (\"ID\" integer, \"MARKA\" varchar(128), \"NOM\" varchar(512))"),
              QStringLiteral("create table \"OPER\" (\"ID\" integer, \"VID\" integer, \"NAIMEN\" integer, "
                             "\"CENA\" numeric(15, 4), \"I_ID\" integer)"),
              QStringLiteral("create table \"VID_OPER\" (\"ID\" integer, \"VID\" varchar(128))"),
              QStringLiteral("create table \"Workers\" (id integer, fio varchar(128), addr varchar(128))"),
              QStringLiteral("create table smena (id integer, w_id integer, i_id integer, o_id integer, "
                             "kol_vo integer, brak integer, smena integer, cena double precision, color integer, "
                             "ok varchar(2), data varchar(20), time integer, vvod varchar(30))"),
              QStringLiteral("grant select on all tables in schema public to %1").arg(sourceName)})
            sourceDb.execute(statement);
        source->registerOtherSource(QStringLiteral("PostgreSQL Unicode"), QStringLiteral(TABEL_PG_ODBC_DRIVER),
                                    QStringLiteral("Servername=%1\nPort=5432\nDatabase=%2\nUsername=%2\n"
                                                   "UseDeclareFetch=1")
                                        .arg(TestDatabase::host(), sourceName));
    }

    void TearDown() override
    {
        sourceDb.close();
        admin("drop database if exists %1 with (force); drop role if exists %1");
        LegacyImportTest::TearDown();
    }

    void admin(const char* statements)
    {
        Connection connection;
        connection.open(connection_string::compose(QStringLiteral("postgres"), TestDatabase::host()));
        for (const QString& statement : QString::fromLatin1(statements).split(QStringLiteral("; ")))
            connection.execute(statement.arg(sourceName));
    }

    QString sourceName;
    Connection sourceDb;
};

TEST_F(PostgresSourceTest, ACleanSourceReplacesAllSevenTablesWithGeneratorsAndNorms)
{
    for (const char* statement :
         {"insert into \"H_TABEL\" (\"ID\", \"W_ID\", \"MONTH\", \"YEAR\", \"SMENA\", \"D1\", \"D2\", \"D31\") values "
          "(2, 102, 11, 2019, 2, 12, 6, null), (1, 101, 11, 2019, 1, 8, null, 4)",
          "insert into \"IZDEL\" values (1002, 'Шкаф ШК-10', null, 30.25), (1001, 'Стеллаж СТ-1', 'Стеллажи', 12.5)",
          "insert into \"NOMENKL\" values (7, 'Марка А', 'Группа 1'), (8, 'Марка Б', null)",
          "insert into \"OPER\" values (11, 21, 0, 10.5, 1001), (12, 22, 1, 7.25, 1002)",
          "insert into \"VID_OPER\" values (21, 'Покраска'), (22, 'Сварка')",
          "insert into \"Workers\" values (101, 'Иванов И.И.', 'ул. Ленина, 1'), (102, 'Петров П.П.', null)",
          "insert into smena values "
          "(501, 101, 1001, 11, 10, 1, 1, 10.5, 0, 'ok', '2019-11-05', 8, '2019-11-05 16:30:00'), "
          "(502, 102, 1002, 12, 5, 0, 2, 7.25, 3020, 'да', '06.11.2019', 4, '06.11.2019 8:15:00'), "
          "(503, 101, 1002, 12, 3, null, 4, 10.875, 1, null, '2019-11-07', 2, '')"})
        sourceDb.execute(QString::fromUtf8(statement));
    const QStringList progress = importDirectly(2);
    EXPECT_EQ(progress.first(), QStringLiteral("Проверка H_TABEL: 2 из 2 записей"));
    EXPECT_TRUE(progress.contains(QStringLiteral("Проверка Workers: 2 из 2 записей"))) << progress.join('\n').toStdString();
    EXPECT_EQ(progress.last(), QStringLiteral("Запись в базу: smena"));
    const std::vector<QStringList> expected = imported();
    for (int t = 0; t < 7; ++t)
        EXPECT_EQ(rows(t), expected[size_t(t)]) << kTargets[t].table;
    EXPECT_EQ(norms(), kNormsAfterImport);
    EXPECT_EQ(db->scalar("insert into accounts_dep.smena (w_id) values (101) returning id"), "504");
    EXPECT_EQ(db->scalar("insert into accounts_dep.oper (vid) values (21) returning id"), "13");
    EXPECT_EQ(db->scalar("insert into accounts_dep.izdel (marka) values ('Новое') returning id"), "1003");

    // The same source with one record repeated: refused, nothing changed.
    sourceDb.execute(QStringLiteral("insert into smena values (504, 101, 1001, 11, 1, 0, 1, 10.5, 0, 'no', "
                                    "'05.11.2019 00:00:00', 1, null)"));
    const std::vector<QStringList> before = allRows();
    EXPECT_EQ(refusedProblems(), std::vector<QString>({"smena: записи с id 501, 504 повторяют друг друга (работник "
                                                       "101, изделие 1001, операция 11, дата 05.11.2019, смена 1, "
                                                       "цвет 0)"}));
    EXPECT_EQ(allRows(), before);
}

}  // namespace
