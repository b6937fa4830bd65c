// The legacy import of a plant's journal: 1,000,000 records in a SQLite file behind the
// ODBC data source "Tabel", imported as the program does it (read and checked in a staging
// table, then written, all in one transaction) and, on the same data in the same run:
// - the baseline: one INSERT per record in autocommit, the way a dataset posts one
//   appended row at a time;
// - the limit: psql's \copy of the same records from a CSV file, no reading, no checks;
// - a second source, the same journal with 1% of its records repeating another one: the
//   time until the import refuses it with every repeated group listed.
//
// Needs a database built from db/schema.sql, named by TABEL_BENCH_PGHOST (the server or
// its socket folder) and TABEL_BENCH_DATABASE, and psql on the path (PGPASSWORD set as
// scripts/run-bench.sh does); TABEL_BENCH_ROWS sets another number of records. Not a test:
// it prints its figures.

#include "bench_database.h"
#include "connection.h"
#include "data_module.h"
#include "import/legacy_import.h"
#include "legacy_source.h"
#include "import/odbc_source.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const char* const kJournalFields[] = {"id",    "w_id", "i_id", "o_id", "kol_vo", "brak", "smena",
                                      "cena", "color", "ok",   "data", "time",   "vvod"};
constexpr int kFieldCount = int(std::size(kJournalFields));

// A journal of 300 workers, 40 items and 120 operations, each worker's records on a day
// of their own: no two records repeat one another.
void fillJournal(LegacySource& source, qint64 rows)
{
    source.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO SMENA SELECT i, 1 + i % 300, 1001 + i % 40, 2001 + i % 120, 1 + i % 50, i % 3, "
                    "1 + i % 4, 10.5 + (i % 100) / 4.0, CASE WHEN i % 7 = 0 THEN 3020 ELSE 0 END, "
                    "CASE WHEN i % 5 = 0 THEN 'no' ELSE 'ok' END, date('2015-01-01', '+' || (i / 300) || ' days'), "
                    "1 + i % 12, datetime('2015-01-01 08:00:00', '+' || (i / 300) || ' days', "
                    "'+' || (i % 600) || ' minutes') FROM n")
                    .arg(rows));
}

// Every hundredth record repeats the one before it, half of them with the date written
// with a time of day.
void repeatEveryHundredth(LegacySource& source)
{
    source.exec(QStringLiteral(
        "UPDATE SMENA SET W_ID = (SELECT p.W_ID FROM SMENA p WHERE p.ID = SMENA.ID - 1), "
        "I_ID = (SELECT p.I_ID FROM SMENA p WHERE p.ID = SMENA.ID - 1), "
        "O_ID = (SELECT p.O_ID FROM SMENA p WHERE p.ID = SMENA.ID - 1), "
        "SMENA = (SELECT p.SMENA FROM SMENA p WHERE p.ID = SMENA.ID - 1), "
        "COLOR = (SELECT p.COLOR FROM SMENA p WHERE p.ID = SMENA.ID - 1), "
        "DATA = (SELECT p.DATA || CASE WHEN SMENA.ID % 200 = 0 THEN ' 00:00:00' ELSE '' END FROM SMENA p "
        "WHERE p.ID = SMENA.ID - 1) WHERE ID % 100 = 0"));
}

QString journalDigest(Connection& target)
{
    const PgResultHandle result = target.execute(QStringLiteral(
        "select count(*) || ' rows, digest ' || md5(coalesce(string_agg(row(id, w_id, i_id, o_id, kol_vo, brak, "
        "smena, cena, color, ok, data, time, vvod)::text, ';' order by id), '')) from accounts_dep.smena"));
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

// Each run starts on an empty journal, so none pays for deleting another's rows.
double importAsBuilt(Connection& target)
{
    target.execute(QStringLiteral("truncate accounts_dep.smena"));
    QElapsedTimer clock;
    clock.start();
    legacy_import::importAll(target, [](const QString&) {});
    return double(clock.nsecsElapsed()) / 1e9;
}

// The time until the import refuses the source, and the number of problems it lists.
std::pair<double, size_t> importRefused(Connection& target)
{
    QElapsedTimer clock;
    clock.start();
    try {
        legacy_import::importAll(target, [](const QString&) {});
    } catch (const legacy_import::ImportRefused& refused) {
        return {double(clock.nsecsElapsed()) / 1e9, refused.problems().size()};
    }
    return {double(clock.nsecsElapsed()) / 1e9, 0};
}

// Every record read from the source and posted by itself: one INSERT, one commit.
double importRowByRow(Connection& target)
{
    target.execute(QStringLiteral("truncate accounts_dep.smena"));
    QElapsedTimer clock;
    clock.start();
    OdbcSource source(legacy_import::sourceConnectionString());
    OdbcReader reader(source, QStringLiteral("select * from smena order by id"), 1000);
    std::vector<int> boundColumns;
    for (const char* field : kJournalFields)
        boundColumns.push_back(reader.bind(reader.findColumn(QString::fromLatin1(field))));
    const QString insert = QStringLiteral(
        "insert into accounts_dep.smena (id, w_id, i_id, o_id, kol_vo, brak, smena, cena, color, ok, data, time, vvod) "
        "values ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13)");
    std::vector<ParameterText> values(kFieldCount);
    while (const int rows = reader.fetch()) {
        for (int row = 0; row < rows; ++row) {
            for (int f = 0; f < kFieldCount; ++f) {
                const OdbcReader::Value value = reader.value(row, boundColumns[size_t(f)]);
                values[size_t(f)] = value.null ? ParameterText() : ParameterText(value.text.toUtf8());
            }
            target.execute(insert, values);
        }
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

// The journal as a CSV file of the target's columns, values as the source holds them.
void writeCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    OdbcSource source(legacy_import::sourceConnectionString());
    OdbcReader reader(source, QStringLiteral("select * from smena order by id"), 1000);
    std::vector<int> boundColumns;
    for (const char* field : kJournalFields)
        boundColumns.push_back(reader.bind(reader.findColumn(QString::fromLatin1(field))));
    QByteArray text;
    while (const int rows = reader.fetch()) {
        text.resize(0);
        for (int row = 0; row < rows; ++row) {
            for (int f = 0; f < kFieldCount; ++f) {
                const OdbcReader::Value value = reader.value(row, boundColumns[size_t(f)]);
                if (f > 0)
                    text += ',';
                if (!value.null)
                    text += '"' + value.text.toUtf8().replace("\"", "\"\"") + '"';
            }
            text += '\n';
        }
        file.write(text);
    }
}

// psql's \copy of the CSV file into the empty journal.
double copyFromCsv(Connection& target, const QString& path)
{
    target.execute(QStringLiteral("truncate accounts_dep.smena"));
    QElapsedTimer clock;
    clock.start();
    QProcess psql;
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                qEnvironmentVariable("TABEL_BENCH_PGHOST"), QStringLiteral("-U"), QStringLiteral("sys"),
                QStringLiteral("-d"), qEnvironmentVariable("TABEL_BENCH_DATABASE"), QStringLiteral("-c"),
                QStringLiteral("\\copy accounts_dep.smena (%1) from '%2' csv")
                    .arg(QStringList(std::begin(kJournalFields), std::end(kJournalFields)).join(QLatin1Char(',')),
                         path)});
    if (!psql.waitForFinished(-1) || psql.exitCode() != 0)
        throw std::runtime_error("psql \\copy failed: " + psql.readAllStandardError().toStdString());
    return double(clock.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    openBenchDatabase();
    Connection& target = DataModule6->ADO_DB;
    const qint64 rows = qEnvironmentVariableIsSet("TABEL_BENCH_ROWS") ? qEnvironmentVariableIntValue("TABEL_BENCH_ROWS")
                                                                        : 1000000;
    QTemporaryDir csvFolder;
    const QString csv = csvFolder.filePath(QStringLiteral("smena.csv"));
    double built = 0, baseline = 0, limit = 0;
    QString builtDigest, baselineDigest, limitDigest;
    // One source for the whole run: unixODBC keeps the data source files it read once, so a
    // second source registered in another folder may not be found.
    LegacySource source;
    fillJournal(source, rows);
    built = importAsBuilt(target);
    builtDigest = journalDigest(target);
    baseline = importRowByRow(target);
    baselineDigest = journalDigest(target);
    writeCsv(csv);
    limit = copyFromCsv(target, csv);
    limitDigest = journalDigest(target);
    repeatEveryHundredth(source);
    const auto [refusedAfter, problems] = importRefused(target);

    std::printf("legacy import of %lld journal records from SQLite through ODBC\n", static_cast<long long>(rows));
    std::printf("  as built (staged, checked, written; one transaction): %8.2f s  %9.0f rows/s  %s\n", built,
                rows / built, qPrintable(builtDigest));
    std::printf("  baseline (one INSERT per row, autocommit):            %8.2f s  %9.0f rows/s  %s\n", baseline,
                rows / baseline, qPrintable(baselineDigest));
    std::printf("  limit (psql \\copy from CSV, no reading, no checks):   %8.2f s  %9.0f rows/s  %s\n", limit,
                rows / limit, qPrintable(limitDigest));
    std::printf("  source with 1%% repeated records: refused after %.2f s with %zu repeated groups listed\n",
                refusedAfter, problems);
    // Last, as the benchmark script's summary takes the last line.
    std::printf("  as built %.0f rows/s: %.1fx the baseline's %.0f rows/s, %.0f%% of the limit's %.0f rows/s\n",
                rows / built, baseline / built, rows / baseline, 100.0 * limit / built, rows / limit);
    const bool sameRows = builtDigest == baselineDigest && builtDigest == limitDigest;
    const bool allListed = problems == size_t(rows / 100);
    return sameRows && allListed ? 0 : 1;
}
