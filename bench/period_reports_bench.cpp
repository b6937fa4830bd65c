// Timings of the period reports on a plant-scale month: for each of the four printed
// reports, beside the time of its query alone, the time from the click in the report
// chooser to the prepared pages (the preview replaced by a stand-in that takes them), and
// through the real preview to its first page on screen and to all pages in a PDF, with the
// peak memory meanwhile and what stays after the preview closes; the same for "Детальный
// отчет по рабочим" over a year. Last the production spreadsheet from the click to the
// written workbook, beside its query alone.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it. The database is named by TABEL_BENCH_PGHOST (the
// server or its socket folder) and TABEL_BENCH_DATABASE.

#include "bench_database.h"
#include "bench_seams.h"
#include "data_module.h"
#include "reports/period_query.h"
#include "reports/period_reports.h"
#include "plant_reports.h"
#include "preview_probe.h"
#include "reports/report_chooser.h"
#include "report_preview.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

PlantReports plant;
size_t preparedPages = 0;

// A report's button and the period it is timed on.
struct Click {
    QPushButton* TForm18::*button;
    QDate from;
    int months;
};

void choosePeriod(const QDate& from, int months = 1)
{
    Form18->DTPicker1->setDate(from);
    Form18->DTPicker2->setDate(from.addMonths(months));
}

// The preview is a stand-in that takes the prepared pages.
void clickToPages(benchmark::State& state, const Click& click)
{
    report::setPreviewShower([](const report::PreparedReport& pages, QWidget*) { preparedPages = pages.pages.size(); });
    choosePeriod(click.from, click.months);
    for (auto _ : state)
        (Form18->*click.button)->click();
    report::setPreviewShower({});
    state.SetLabel(QStringLiteral("%1 pages").arg(preparedPages).toStdString());
}

// The real preview: up to its first page on screen, or up to every page in a PDF.
void clickThroughPreview(benchmark::State& state, const Click& click, const Dataset& query, bool toPdf)
{
    choosePeriod(click.from, click.months);
    const QString pdf = toPdf ? QDir::temp().filePath(QStringLiteral("period_reports_bench.pdf")) : QString();
    PreviewTimes times;
    for (auto _ : state) {
        times = timePreview([&] { (Form18->*click.button)->click(); }, pdf, &query);
        state.SetIterationTime((toPdf ? times.pdfMs : times.firstPageMs) / 1000.0);
    }
    state.SetLabel(previewLabel(times, toPdf).toStdString());
}

void queryAlone(benchmark::State& state, Dataset& query, const QDate& from, int months = 1)
{
    setPeriod(query, from, from.addMonths(months), ProductKindChoice::All);
    for (auto _ : state) {
        query.open();
        state.PauseTiming();
        const int rows = query.recordCount();
        query.close();
        state.ResumeTiming();
        state.SetLabel(QStringLiteral("%1 rows").arg(rows).toStdString());
    }
}

void productionClick(benchmark::State& state)
{
    choosePeriod(plant.productionMonth);
    for (auto _ : state)
        Form18->Button6->click();
    state.SetLabel(Form18->Button6->text().toStdString());
}

void registerReport(const char* name, const Click& click, PeriodReportWindow* layout)
{
    const std::string report = std::string(name) + (click.months == 12 ? ", year" : ", month");
    benchmark::RegisterBenchmark((report + "/query alone (baseline)").c_str(),
                                 [=](benchmark::State& s) { queryAlone(s, layout->query(), click.from, click.months); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((report + "/click to prepared pages").c_str(),
                                 [=](benchmark::State& s) { clickToPages(s, click); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((report + "/click to first page in the preview").c_str(),
                                 [=](benchmark::State& s) { clickThroughPreview(s, click, layout->query(), false); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    benchmark::RegisterBenchmark((report + "/click to all pages in a PDF").c_str(),
                                 [=](benchmark::State& s) { clickThroughPreview(s, click, layout->query(), true); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
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
    Form18 = new TForm18;
    Form21 = new TForm21;
    Form16 = new TForm16;
    Form17 = new TForm17;
    Form20 = new TForm20;
    benchmark::AddCustomContext("report month", QStringLiteral("%1: %2 journal records, %3 workers, %4 items")
                                                    .arg(plant.reportMonth.toString(QStringLiteral("MM.yyyy")))
                                                    .arg(records)
                                                    .arg(plant.workers)
                                                    .arg(plant.items)
                                                    .toStdString());
    benchmark::AddCustomContext("report year", QStringLiteral("%1: twelve such months, the operations changing each quarter")
                                                   .arg(plant.reportYear.year())
                                                   .toStdString());

    registerReport("Отчет по рабочим (Form16)", {&TForm18::Button4, plant.reportMonth, 1}, Form16);
    registerReport("Отчет по продукции (Form17)", {&TForm18::Button2, plant.reportMonth, 1}, Form17);
    registerReport("Детальный отчет по рабочим (Form20)", {&TForm18::Button1, plant.reportMonth, 1}, Form20);
    registerReport("Детальный отчет по рабочим (Form20)", {&TForm18::Button1, plant.reportYear, 12}, Form20);
    registerReport("Детальный отчет по продукции (Form21)", {&TForm18::Button3, plant.reportMonth, 1}, Form21);
    benchmark::RegisterBenchmark("production spreadsheet/query alone (baseline)",
                                 [](benchmark::State& s) { queryAlone(s, Form18->XLS_Rep, plant.productionMonth); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("production spreadsheet/click to workbook", productionClick)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete Form20;
    delete Form17;
    delete Form16;
    delete Form21;
    delete Form18;
    delete DataModule6;
    return 0;
}
