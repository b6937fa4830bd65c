// Timings of the monthly timesheet on a plant-scale month, all against one database:
// the month rebuild as the program runs it, the same rebuild one statement per cell
// (the baseline), and the reload of the three shift grids; then opening the month and
// "Перестроить" as the ERP's person table grows from the plant's 300 persons (the
// baseline) to 30,000, at 30,000 with the server's JIT compiler on as before, and at 30,000
// where the ERP's index on the person codes as numbers is missing.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it. The database is named by TABEL_BENCH_PGHOST (the
// server or its socket folder) and TABEL_BENCH_DATABASE.

#include "bench_database.h"
#include "cell_by_cell_rebuild.h"
#include "data_module.h"
#include "plant_month.h"
#include "timesheet_rebuild.h"
#include "timesheet/timesheet_window.h"

#include <QApplication>
#include <QComboBox>
#include <benchmark/benchmark.h>

namespace {

PlantMonth plant;

QString monthRowsDigest()
{
    const PgResultHandle result = DataModule6->ADO_DB.execute(
        QStringLiteral("select count(*) || ' rows, digest ' || md5(coalesce(string_agg(row(w_id, smena, month, year, d1, d2, d3, d4, "
                       "d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16, d17, d18, d19, d20, d21, d22, d23, d24, d25, "
                       "d26, d27, d28, d29, d30, d31)::text, ';' order by w_id, smena), '')) "
                       "from accounts_dep.h_tabel where month=%1 and year=%2")
            .arg(plant.month)
            .arg(plant.year));
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

void rebuildAsBuilt(benchmark::State& state)
{
    for (auto _ : state)
        timesheet_rebuild::rebuildMonth(*DataModule6, Form19->dt, plant.month, plant.year, [](int) {});
    state.SetLabel(monthRowsDigest().toStdString());
}

void rebuildButton(benchmark::State& state)
{
    for (auto _ : state)
        Form19->Button1Click();
    state.SetLabel(monthRowsDigest().toStdString());
}

void rebuildCellByCell(benchmark::State& state)
{
    for (auto _ : state)
        rebuildMonthCellByCell(*DataModule6, Form19->dt, plant.month, plant.year);
    state.SetLabel(monthRowsDigest().toStdString());
}

void reloadGrids(benchmark::State& state)
{
    for (auto _ : state)
        Form19->ComboBox1Change();
    state.SetLabel(QStringLiteral("%1 + %2 + %3 grid rows")
                       .arg(DataModule6->H_Tabel_1.recordCount())
                       .arg(DataModule6->H_Tabel_2.recordCount())
                       .arg(DataModule6->H_Tabel_3.recordCount())
                       .toStdString());
}

int growPersons(int wanted) { return growErpPersons(DataModule6->ADO_DB, wanted); }

// The session's JIT setting for one benchmark; the program's own connection turns it off.
struct JitSetting {
    explicit JitSetting(bool on) { DataModule6->ADO_DB.execute(on ? QStringLiteral("set jit = on") : QStringLiteral("set jit = off")); }
    ~JitSetting() { DataModule6->ADO_DB.execute(QStringLiteral("set jit = off")); }
};

// The ERP's index on the person codes as numbers, dropped for one benchmark where asked and
// the program's choice of query found again, as at a start on such a database.
struct CodeIndex {
    explicit CodeIndex(bool kept) : dropped(!kept)
    {
        if (dropped)
            reset(QStringLiteral("drop index cmn_contractor.person_s_code_t_id"));
    }
    ~CodeIndex()
    {
        if (dropped)
            reset(QStringLiteral("create index person_s_code_t_id on cmn_contractor.person ((s_code::public.t_id))"));
    }
    static void reset(const QString& statement)
    {
        DataModule6->ADO_DB.execute(statement);
        DataModule6->DetectDatabaseFeatures();
    }
    bool dropped;
};

// The month opened (ComboBox1Change) or rebuilt (Button1Click) among that many persons.
void amongPersons(benchmark::State& state, void (TForm19::*action)(), int wanted, bool jit, bool codesIndexed)
{
    const int persons = growPersons(wanted);
    const JitSetting setting(jit);
    const CodeIndex index(codesIndexed);
    for (auto _ : state)
        (Form19->*action)();
    state.SetLabel(QStringLiteral("%1 persons").arg(persons).toStdString());
}

void registerAmongPersons(int persons, bool jit, bool codesIndexed, const std::string& suffix)
{
    const std::string size = std::to_string(persons) + " ERP persons" + suffix;
    benchmark::RegisterBenchmark(("open the month/" + size).c_str(),
                                 [=](benchmark::State& s) { amongPersons(s, &TForm19::ComboBox1Change, persons, jit, codesIndexed); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("Перестроить/" + size).c_str(),
                                 [=](benchmark::State& s) { amongPersons(s, &TForm19::Button1Click, persons, jit, codesIndexed); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

void showPlantMonth()
{
    Form19 = new TForm19;
    Form19->ComboBox1->setCurrentIndex(plant.month - 1);
    Form19->ComboBox2->setCurrentIndex(Form19->ComboBox2->findText(QString::number(plant.year)));
    Form19->ComboBox1Change();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    openBenchDatabase();
    seedAndDescribePlantMonth(DataModule6->ADO_DB, plant);
    showPlantMonth();

    benchmark::RegisterBenchmark("rebuild/as built", rebuildAsBuilt)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("rebuild/Button1Click (with grids reopened)", rebuildButton)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("rebuild/cell by cell (baseline)", rebuildCellByCell)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("reload/three grids (ComboBox1Change)", reloadGrids)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    registerAmongPersons(plant.workers, false, true, " (baseline)");
    registerAmongPersons(30000, false, true, "");
    registerAmongPersons(30000, true, true, ", JIT on as before");
    registerAmongPersons(30000, false, false, ", codes not indexed");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete Form19;
    delete DataModule6;
    return 0;
}
