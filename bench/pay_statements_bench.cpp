// Timings of the pay statements on the plant-scale month of the period reports (300
// workers, 120,000 journal records), with two household entries and the timesheet rows of
// every worker: the statement queries alone as the baseline, then from the click on
// "Расчетные листки" to the first page in the real preview and to every worker's pages
// in a PDF, with the peak memory meanwhile; last the click on "Расчетные листки в Excel"
// to the written workbook.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it (TABEL_BENCH_PGHOST, TABEL_BENCH_DATABASE).

#include "bench_database.h"
#include "bench_seams.h"
#include "data_module.h"
#include "reports/pay_statement.h"
#include "plant_reports.h"
#include "preview_probe.h"
#include "reports/report_chooser.h"
#include "report_preview.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

PlantReports plant;

// Household works on two days and the month's timesheet rows (8 hours a working day in
// the worker's shift) for every worker of the month.
void seedHouseholdAndHours(Connection& connection)
{
    const QDate month = plant.reportMonth;
    connection.execute(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (7777, 'Хоз. работы')"));
    connection.execute(QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price) "
                                      "select 0, 7777, p.id, '%1'::date + d, %2, %3, 1, 4, 150.5 from accounts_dep.person p, "
                                      "generate_series(2, 3) d")
                           .arg(month.toString(Qt::ISODate))
                           .arg(month.month())
                           .arg(month.year()));
    QStringList days, values;
    for (int day = 1; day <= 31; ++day) {
        days << QStringLiteral("d%1").arg(day);
        values << (day <= month.daysInMonth() && day % 7 < 5 ? QStringLiteral("8") : QStringLiteral("null"));
    }
    connection.execute(QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, %1) "
                                      "select p.id, 1 + p.id % 3, %2, %3, %4 from accounts_dep.person p")
                           .arg(days.join(','))
                           .arg(month.month())
                           .arg(month.year())
                           .arg(values.join(',')));
}

void queryAlone(benchmark::State& state)
{
    size_t statements = 0;
    for (auto _ : state)
        statements = pay_statement::read(DataModule6->ADO_DB, plant.reportMonth, plant.reportMonth.addMonths(1)).size();
    state.SetLabel(QStringLiteral("%1 statements").arg(statements).toStdString());
}

// The preview is a stand-in that takes the prepared pages.
void clickToPages(benchmark::State& state)
{
    size_t pages = 0;
    report::setPreviewShower([&](const report::PreparedReport& prepared, QWidget*) { pages = prepared.pages.size(); });
    for (auto _ : state)
        Form18->Button7->click();
    report::setPreviewShower({});
    state.SetLabel(QStringLiteral("%1 pages").arg(pages).toStdString());
}

void clickThroughPreview(benchmark::State& state, bool toPdf)
{
    const QString pdf = toPdf ? QDir::temp().filePath(QStringLiteral("pay_statements_bench.pdf")) : QString();
    PreviewTimes times;
    for (auto _ : state) {
        times = timePreview([] { Form18->Button7->click(); }, pdf);
        state.SetIterationTime((toPdf ? times.pdfMs : times.firstPageMs) / 1000.0);
    }
    state.SetLabel(previewLabel(times, toPdf).toStdString());
}

void clickToWorkbook(benchmark::State& state)
{
    for (auto _ : state)
        Form18->Button9->click();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    const StandInSeams standIns;

    openBenchDatabase();
    const int records = seedPlantReports(DataModule6->ADO_DB, plant);
    seedHouseholdAndHours(DataModule6->ADO_DB);
    Form18 = new TForm18;
    Form18->DTPicker1->setDate(plant.reportMonth);
    Form18->DTPicker2->setDate(plant.reportMonth.addMonths(1));
    benchmark::AddCustomContext("report month", QStringLiteral("%1: %2 journal records, %3 workers")
                                                    .arg(plant.reportMonth.toString(QStringLiteral("MM.yyyy")))
                                                    .arg(records)
                                                    .arg(plant.workers)
                                                    .toStdString());

    benchmark::RegisterBenchmark("Расчетные листки/statement queries alone (baseline)", queryAlone)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Расчетные листки/click to prepared pages", clickToPages)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("Расчетные листки/click to first page in the preview",
                                 [](benchmark::State& s) { clickThroughPreview(s, false); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    benchmark::RegisterBenchmark("Расчетные листки/click to all pages in a PDF",
                                 [](benchmark::State& s) { clickThroughPreview(s, true); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    benchmark::RegisterBenchmark("Расчетные листки/click to workbook", clickToWorkbook)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete Form18;
    delete DataModule6;
    return 0;
}
