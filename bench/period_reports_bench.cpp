// Timings of the period reports on a plant-scale month: for each of the four printed
// reports the time from the click in the report chooser to the prepared pages (the preview
// is replaced by a stand-in that takes them), beside the time of its query alone; and the
// production spreadsheet from the click to the written workbook, beside its query alone.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it. The database is named by TABEL_BENCH_PGHOST (the
// server or its socket folder) and TABEL_BENCH_DATABASE.

#include "bench_database.h"
#include "data_module.h"
#include "period_query.h"
#include "period_reports.h"
#include "plant_reports.h"
#include "report_chooser.h"
#include "report_preview.h"
#include "seams.h"
#include "spreadsheet_opener.h"

#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

PlantReports plant;
size_t preparedPages = 0;

// Any message means the timing is void.
class FailingMessages : public seams::MessageBoxes {
public:
    void error(QWidget*, const QString& text, const QString& caption) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
        std::exit(1);
    }
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override
    {
        error(parent, text, caption);
        return false;
    }
};

// Takes the workbook file and removes it, where the program would start the spreadsheet application.
class DiscardingOpener : public seams::SpreadsheetOpener {
public:
    bool available() override { return true; }
    bool open(const QString& path) override { return QFile::remove(path); }
};

void choosePeriod(const QDate& from)
{
    Form18->DTPicker1->setDate(from);
    Form18->DTPicker2->setDate(from.addMonths(1));
}

void clickToPages(benchmark::State& state, QPushButton* TForm18::*button)
{
    choosePeriod(plant.reportMonth);
    for (auto _ : state)
        (Form18->*button)->click();
    state.SetLabel(QStringLiteral("%1 pages").arg(preparedPages).toStdString());
}

void queryAlone(benchmark::State& state, Dataset& query, const QDate& from)
{
    setPeriod(query, from, from.addMonths(1), ProductKindChoice::All);
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

void registerReport(const char* name, QPushButton* TForm18::*button, PeriodReportWindow* layout)
{
    const std::string report(name);
    benchmark::RegisterBenchmark((report + "/query alone (baseline)").c_str(),
                                 [layout](benchmark::State& s) { queryAlone(s, layout->query(), plant.reportMonth); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((report + "/click to prepared pages").c_str(),
                                 [button](benchmark::State& s) { clickToPages(s, button); })
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

    FailingMessages messages;
    seams::setMessageBoxes(&messages);
    DiscardingOpener opener;
    seams::setSpreadsheetOpener(&opener);
    report::setPreviewShower([](const report::PreparedReport& pages, QWidget*) { preparedPages = pages.pages.size(); });

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

    registerReport("Отчет по рабочим (Form16)", &TForm18::Button4, Form16);
    registerReport("Отчет по продукции (Form17)", &TForm18::Button2, Form17);
    registerReport("Детальный отчет по рабочим (Form20)", &TForm18::Button1, Form20);
    registerReport("Детальный отчет по продукции (Form21)", &TForm18::Button3, Form21);
    benchmark::RegisterBenchmark("production spreadsheet/query alone (baseline)",
                                 [](benchmark::State& s) { queryAlone(s, Form18->XLS_Rep, plant.productionMonth); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("production spreadsheet/click to workbook", productionClick)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    report::setPreviewShower({});
    seams::setSpreadsheetOpener(nullptr);
    seams::setMessageBoxes(nullptr);
    delete Form20;
    delete Form17;
    delete Form16;
    delete Form21;
    delete Form18;
    delete DataModule6;
    return 0;
}
