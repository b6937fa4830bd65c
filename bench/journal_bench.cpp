// Timings of the journal's date switch, the four shift queries closed and opened again
// for another date, as the ERP's person table grows: with 300 persons and with 30,000,
// each without the expression index on cmn_contractor.person ((s_code::t_id)) (the
// baseline) and with it, all against one database in one run. First the shift switch:
// the journal's grid showing another shift's records of the day, within 1.5 times the
// 11 ms it took before its columns were re-measured on every showing.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it. The database is named by TABEL_BENCH_PGHOST (the
// server or its socket folder) and TABEL_BENCH_DATABASE.

#include "bench_database.h"
#include "data_module.h"
#include "plant_month.h"

#include "data_grid.h"
#include "app/journal_window.h"

#include <QApplication>
#include <QDate>
#include <benchmark/benchmark.h>

namespace {

PlantMonth plant;

void execute(const QString& sql) { DataModule6->ADO_DB.execute(sql); }

void useIndex(bool on)
{
    execute(QStringLiteral("drop index if exists cmn_contractor.person_s_code_t_id"));
    if (on)
        execute(QStringLiteral("create index person_s_code_t_id on cmn_contractor.person ((s_code::public.t_id))"));
    execute(QStringLiteral("analyze cmn_contractor.person"));
}

// The items, kinds and operations the plant month's records name, for the journal's joins.
void seedReferenceData()
{
    execute(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa) "
                           "select g, 'Изделие ' || g, '', 6, 1 from generate_series(1, 5) g"));
    execute(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) select g, 'Операция ' || g from generate_series(1, 3) g"));
    execute(QStringLiteral("insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) "
                           "select g, g - 1, 0, 1, 0 from generate_series(2, 4) g"));
}

// What choosing another date in the journal reads: the four shift queries for that date.
int switchDate(const QDate& date)
{
    int rows = 0;
    for (int shift = 1; shift <= 4; ++shift) {
        Dataset& query = DataModule6->shiftQuery(shift);
        query.close();
        query.setParam(QStringLiteral("DATA"), date);
        query.open();
        rows += query.recordCount();
    }
    return rows;
}

void dateSwitch(benchmark::State& state, int personCount, bool indexed)
{
    const int persons = growErpPersons(DataModule6->ADO_DB, personCount);
    useIndex(indexed);
    const QDate days[] = {QDate(plant.year, plant.month, 10), QDate(plant.year, plant.month, 11)};
    int rows = 0;
    int n = 0;
    for (auto _ : state)
        rows = switchDate(days[n++ % 2]);
    state.SetLabel(QStringLiteral("%1 persons, %2 records a day").arg(persons).arg(rows).toStdString());
}

// A click on another shift's button: the journal's grid bound to that shift's records and
// drawn.
void shiftSwitch(benchmark::State& state)
{
    const int rows = switchDate(QDate(plant.year, plant.month, 10));
    DataGrid grid;
    grid.resize(1280, 720);
    grid.show();
    const auto columns = journalColumns();
    int shift = 0;
    for (auto _ : state) {
        grid.bind(DataModule6->shiftQuery(1 + shift++ % 4), columns);
        grid.repaint();
    }
    state.SetLabel(QStringLiteral("%1 records of the day in four shifts").arg(rows).toStdString());
}

// The shift queries read what a logged-in user sees: every record but those marked "ta".
void openDatabase()
{
    openBenchDatabase();
    execute(QStringLiteral("set client_min_messages = warning"));  // no notice for each dropped index
    for (int shift = 1; shift <= 4; ++shift)
        DataModule6->shiftQuery(shift).setParam(QStringLiteral("OK"), QStringLiteral("ta"));
}

void registerDateSwitch(int personCount, bool indexed)
{
    const std::string name = "date switch/" + std::to_string(personCount) + " persons/"
        + (indexed ? "with the s_code index" : "without it (baseline)");
    benchmark::RegisterBenchmark(name.c_str(), [=](benchmark::State& state) { dateSwitch(state, personCount, indexed); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    openDatabase();
    seedReferenceData();
    seedPlantMonth(DataModule6->ADO_DB, plant);
    benchmark::AddCustomContext("journal", QStringLiteral("%1 workers, %2.%3").arg(plant.workers).arg(plant.month).arg(plant.year).toStdString());

    benchmark::RegisterBenchmark("shift switch/DBGrid2 shows the next shift (within 16.5 ms)", shiftSwitch)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (const int personCount : {plant.workers, 30000}) {
        registerDateSwitch(personCount, false);
        registerDateSwitch(personCount, true);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete DataModule6;
    return 0;
}
