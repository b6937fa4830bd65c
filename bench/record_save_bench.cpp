// Time per save of one journal record on a plant-scale month, against one database: the
// save as the program runs it (one transaction: the lock on the record's six values, the
// worker, item and operation held against deletion, the duplicate count, the insert and
// the hours upkeep under the timesheet row's and month's locks) and, as the baseline, the
// same statements sent one by one in automatic-commit mode without any lock.
//
// Then the administrator's script of closed months and change history is installed (with
// another month closed) and the save and the month rebuild are timed with its triggers
// against the same with the triggers switched off, as on a database without the script.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it (TABEL_BENCH_PGHOST, TABEL_BENCH_DATABASE).

#include "bench_database.h"
#include "data_module.h"
#include "plant_month.h"
#include "record_save.h"
#include "timesheet_hours.h"
#include "timesheet_rebuild.h"

#include <QCoreApplication>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

PlantMonth plant;
// The plant month's first worker; the item and operation his records refer to.
const int kWorker = 1, kItem = 1, kOperation = 2, kShift = 2;
int nextColour = 1000;  // every saved record is a new one: its colour is not used yet

QDate saveDate() { return QDate(plant.year, plant.month, 10); }

QString insertStatement(int colour)
{
    return QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, vvod,ok, "
                          "prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(%1, %2, %3, 12.5,10, 0, "
                          "to_date('%4', 'DD.MM.YYYY HH24:MI:SS'), %5, %6, 0, '%7', 'no', 0, 0, 0, 0, 0, 0)")
        .arg(kWorker)
        .arg(kItem)
        .arg(kOperation)
        .arg(saveDate().toString(QStringLiteral("dd.MM.yyyy")))
        .arg(kShift)
        .arg(colour)
        .arg(saveDate().toString(Qt::ISODate));
}

QString duplicateQuery(int colour)
{
    return QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=%1 and o_id=%2 and i_id=%3 and "
                          "data=to_date('%4', 'DD.MM.YYYY') and smena=%5 and color=%6")
        .arg(kWorker)
        .arg(kOperation)
        .arg(kItem)
        .arg(saveDate().toString(QStringLiteral("dd.MM.yyyy")))
        .arg(kShift)
        .arg(colour);
}

void saveAsBuilt(benchmark::State& state)
{
    for (auto _ : state) {
        const int colour = nextColour++;
        pay::JournalRecord r;
        r.workerId = kWorker;
        r.itemId = kItem;
        r.operationId = kOperation;
        r.shift = kShift;
        r.date = saveDate();
        r.entered = saveDate();
        r.colour = colour;
        r.price = 12.5;
        r.quantity = 10;
        // No hours: however many saves run, the day stays within the 24 hours the save
        // checks, and the upkeep runs its statements all the same.
        r.hours = 0;
        if (record_save::save(*DataModule6, r).outcome != record_save::Outcome::Saved)
            state.SkipWithError("the save was refused");
    }
}

// The count, the insert and the upkeep's test, sum and write, each its own statement.
void saveWithoutLocks(benchmark::State& state)
{
    Connection& connection = DataModule6->ADO_DB;
    const timesheet_hours::HoursKey key = timesheet_hours::keyOf(kWorker, kShift, saveDate());
    const QString keyCondition = QStringLiteral(" where w_id=%1 and smena=%2 and month=%3 and year=%4")
                                     .arg(key.workerId)
                                     .arg(key.shift)
                                     .arg(key.month)
                                     .arg(key.year);
    for (auto _ : state) {
        const int colour = nextColour++;
        if (DataModule6->CountsAny(duplicateQuery(colour)))
            state.SkipWithError("a duplicate");
        connection.execute(insertStatement(colour));
        const bool rowExists = DataModule6->CountsAny(QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel") + keyCondition);
        const int hours = timesheet_hours::DayHours(*DataModule6, kWorker, kShift, saveDate());
        connection.execute(rowExists ? QStringLiteral("update accounts_dep.h_tabel set d10=%1").arg(hours) + keyCondition
                                     : QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d10) "
                                                      "values(%1, %2, %3, %4, %5)")
                                           .arg(key.shift)
                                           .arg(key.workerId)
                                           .arg(key.month)
                                           .arg(key.year)
                                           .arg(hours));
    }
}


// The administrator's script as psql runs it, with the month before the plant month closed;
// once, before the first benchmark that needs it.
void installMonthLockScript()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFile file(QStringLiteral(TABEL_MONTH_LOCK_SCRIPT));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", TABEL_MONTH_LOCK_SCRIPT);
    const PgResultHandle result(PQexec(DataModule6->ADO_DB.raw(), file.readAll().constData()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        qFatal("the script failed: %s", PQresultErrorMessage(result.get()));
    const QDate before = QDate(plant.year, plant.month, 1).addMonths(-1);
    DataModule6->ADO_DB.execute(
        QStringLiteral("select accounts_dep.close_month(%1, %2)").arg(before.year()).arg(before.month()));
}

// The script's triggers on the journal, the timesheet and the household works: switched off,
// the tables behave as on a database without the script.
void switchScriptTriggers(bool on)
{
    const QString action = on ? QStringLiteral("enable") : QStringLiteral("disable");
    for (const char* table : {"smena", "h_tabel", "fatigue"})
        DataModule6->ADO_DB.execute(
            QStringLiteral("alter table accounts_dep.%1 %2 trigger closed_month_lock").arg(QLatin1String(table), action));
    for (const char* table : {"smena", "fatigue"})
        DataModule6->ADO_DB.execute(
            QStringLiteral("alter table accounts_dep.%1 %2 trigger change_history").arg(QLatin1String(table), action));
}

void saveWithScript(benchmark::State& state, bool triggers)
{
    installMonthLockScript();
    switchScriptTriggers(triggers);
    saveAsBuilt(state);
    switchScriptTriggers(true);
}

void rebuildWithScript(benchmark::State& state, bool triggers)
{
    installMonthLockScript();
    switchScriptTriggers(triggers);
    Dataset dt(DataModule6->ADO_DB, timesheet_rebuild::dayQuery());
    for (auto _ : state)
        timesheet_rebuild::rebuildMonth(*DataModule6, dt, plant.month, plant.year, [](int) {});
    switchScriptTriggers(true);
}

// The item and operation the plant month's records of the first worker refer to.
void seedReferences()
{
    DataModule6->ADO_DB.execute(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa) "
                                          "values (%1, 'Стол СТ-1', '', 6, 1.5)")
                               .arg(kItem));
    DataModule6->ADO_DB.execute(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (1, 'Сборка')"));
    DataModule6->ADO_DB.execute(
        QStringLiteral("insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (%1, 1, 0, %2, 0)").arg(kOperation).arg(kItem));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    openBenchDatabase();
    seedAndDescribePlantMonth(DataModule6->ADO_DB, plant);
    seedReferences();

    benchmark::RegisterBenchmark("save/as built (one transaction, locks and checks)", saveAsBuilt)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("save/without locks (baseline)", saveWithoutLocks)->Unit(benchmark::kMicrosecond)->UseRealTime();
    // Aims: the triggers add less than 1 ms to a save, and the rebuild stays within 1.5 times.
    // The script is installed by the first of these, after the benchmarks above have run.
    benchmark::RegisterBenchmark("save with the month lock/triggers off (baseline)", saveWithScript, false)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("save with the month lock/lock and history triggers", saveWithScript, true)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("rebuild with the month lock/triggers off (baseline)", rebuildWithScript, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("rebuild with the month lock/lock and history triggers", rebuildWithScript, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete DataModule6;
    return 0;
}
