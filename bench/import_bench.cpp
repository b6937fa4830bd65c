// The legacy import of a plant's journal: 1,000,000 records in a SQLite file behind the
// ODBC data source "Tabel", imported as the program does it (COPY in batches, one
// transaction) and, on the same data in the same run, by the baseline: one INSERT per
// record in autocommit, the way a dataset posts one appended row at a time.
//
// Needs a database built from db/schema.sql, named by TABEL_BENCH_PGHOST (the server or
// its socket folder) and TABEL_BENCH_DATABASE; TABEL_BENCH_ROWS sets another number of
// records. Not a test: it prints its figures.

#include "bench_database.h"
#include "connection.h"
#include "data_module.h"
#include "legacy_import.h"
#include "legacy_source.h"
#include "odbc_source.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

const char* const kJournalFields[] = {"id",    "w_id", "i_id", "o_id", "kol_vo", "brak", "smena",
                                      "cena", "color", "ok",   "data", "time",   "vvod"};
constexpr int kFieldCount = int(std::size(kJournalFields));

// A journal of 300 workers, 40 items and 120 operations over two years.
void fillJournal(LegacySource& source, qint64 rows)
{
    source.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO SMENA SELECT i, 1 + i % 300, 1001 + i % 40, 2001 + i % 120, 1 + i % 50, i % 3, "
                    "1 + i % 4, 10.5 + (i % 100) / 4.0, CASE WHEN i % 7 = 0 THEN 3020 ELSE 0 END, "
                    "CASE WHEN i % 5 = 0 THEN 'no' ELSE 'ok' END, date('2019-01-01', '+' || (i % 730) || ' days'), "
                    "1 + i % 12, datetime('2019-01-01 08:00:00', '+' || (i % 730) || ' days', "
                    "'+' || (i % 600) || ' minutes') FROM n")
                    .arg(rows));
}

QString journalDigest(Connection& target)
{
    const PgResultHandle result = target.execute(QStringLiteral(
        "select count(*) || ' rows, digest ' || md5(coalesce(string_agg(row(id, w_id, i_id, o_id, kol_vo, brak, "
        "smena, cena, color, ok, data, time, vvod)::text, ';' order by id), '')) from accounts_dep.smena"));
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

// Each run starts on an empty journal, so neither pays for deleting the other's rows.
double importAsBuilt(Connection& target)
{
    target.execute(QStringLiteral("truncate accounts_dep.smena"));
    QElapsedTimer clock;
    clock.start();
    legacy_import::importAll(target, [](const QString&) {});
    return double(clock.nsecsElapsed()) / 1e9;
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

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    openBenchDatabase();
    Connection& target = DataModule6->ADO_DB;
    const qint64 rows = qEnvironmentVariableIsSet("TABEL_BENCH_ROWS") ? qEnvironmentVariableIntValue("TABEL_BENCH_ROWS")
                                                                        : 1000000;
    LegacySource source;
    fillJournal(source, rows);

    const double built = importAsBuilt(target);
    const QString builtDigest = journalDigest(target);
    const double baseline = importRowByRow(target);
    const QString baselineDigest = journalDigest(target);

    std::printf("legacy import of %lld journal records from SQLite through ODBC\n", static_cast<long long>(rows));
    std::printf("  as built (COPY in batches, one transaction): %8.2f s  %9.0f rows/s  %s\n", built, rows / built,
                qPrintable(builtDigest));
    std::printf("  baseline (one INSERT per row, autocommit):   %8.2f s  %9.0f rows/s  %s\n", baseline, rows / baseline,
                qPrintable(baselineDigest));
    std::printf("  as built / baseline: %.1fx\n", baseline / built);
    return builtDigest == baselineDigest ? 0 : 1;
}
