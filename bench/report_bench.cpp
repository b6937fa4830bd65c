// Timings of the report engine and of the timesheet's print and export, in one run:
//   - a report of 100,000 records with two group levels and sums: walking the records
//     alone (the baseline), preparing the pages, drawing all of them into a PDF, and
//     opening the real preview on them up to the first page drawn;
//   - the timesheet of 1,000 workers: reading H_Tabel alone (the baseline), "Печать" up
//     to the prepared pages, "Печать" up to the first page drawn in the real preview,
//     and "Excel" up to the workbook handed over.
//
// Needs a database built from db/schema.sql (see scripts/run-bench.sh), named by
// TABEL_BENCH_PGHOST and TABEL_BENCH_DATABASE.

#include "bench_database.h"
#include "data_module.h"
#include "page_view.h"
#include "preview_probe.h"
#include "report.h"
#include "report_preview.h"
#include "report_renderer.h"
#include "timesheet/timesheet_layout.h"
#include "timesheet/timesheet_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace report;

constexpr int kRecords = 100000;
constexpr int kWorkers = 1000;
constexpr int kMonth = 3;
constexpr int kYear = 2026;

// 100 workers of 10 items of 100 records each, read from texts made beforehand as a
// dataset holds its records in memory.
class GeneratedRows : public RowSource {
public:
    QString sourceName() const override { return QStringLiteral("t_Report"); }
    int fieldIndex(const QString& name) const override { return int(kFields.indexOf(name.toLower())); }
    Value value(int field) const override
    {
        static const Texts texts;
        switch (field) {
        case 0:
            return Value::of(texts.workers[size_t(n_ / 1000)]);
        case 1:
            return Value::of(texts.items[size_t(n_ / 100 % 10)]);
        case 2:
            return Value::of(texts.operations[size_t(n_ % 7)]);
        case 3:
            return Value::of(double(n_ % 2));
        case 4:
            return Value::of(double(n_ % 5 == 0 ? 9003 : n_ % 3));
        case 5:
            return Value::of(double(1 + n_ % 40));
        default:
            return Value::of(12.5 * (1 + n_ % 40));
        }
    }
    bool atEnd() const override { return n_ >= kRecords; }
    void next() override { ++n_; }

private:
    struct Texts {
        std::vector<QString> workers, items, operations;
        Texts()
        {
            for (int n = 0; n < kRecords / 1000; ++n)
                workers.push_back(QStringLiteral("Рабочий №%1").arg(n, 3, 10, QLatin1Char('0')));
            for (int n = 0; n < 10; ++n)
                items.push_back(QStringLiteral("Изделие %1").arg(n));
            for (int n = 0; n < 7; ++n)
                operations.push_back(QStringLiteral("Операция %1").arg(n));
        }
    };
    inline static const QStringList kFields{"fio", "nom", "vid", "naimen", "color", "kolvo", "summa"};
    int n_ = 0;
};

// A summary by worker and item, as the period reports are laid out.
ReportDefinition summaryByWorker()
{
    ReportDefinition d;
    d.title = QStringLiteral("Отчет по рабочим");
    d.reportHeader = band(4.2, {text(QStringLiteral("   Отчет по рабочим за период с 01.02.2026 по 01.03.2026")).at(0.3).bold()});
    d.reportHeader->fill = QColor(0xF4F4F4);
    d.reportHeader->children = {band(0.5)};
    Group worker = group(QStringLiteral("t_Report.fio"));
    worker.header = band(6.6, {field(QStringLiteral("fio")).at(0.3).bold()});
    worker.header->fill = QColor(0xE0E0E0);
    worker.footer = band(6.1, {expression(QStringLiteral("sum(summa)")).at(163.0, 23.8).centred().withMask(QStringLiteral("#0.00"))});
    worker.footer->font.bold = true;
    worker.footer->frame = Frame::below();
    Group item = group(QStringLiteral("t_Report.nom"), true);
    item.header = band(5.3, {field(QStringLiteral("nom")).at(0.3).bold()});
    item.footer = band(5.3, {expression(QStringLiteral("sum(kolvo)")).at(137.8, 19.3).centred(),
                             expression(QStringLiteral("sum(summa)")).at(163.0, 23.8).centred().withMask(QStringLiteral("#0.000"))});
    item.footer->font.bold = true;
    d.groups = {worker, item};
    d.detail = band(4.2, {expression(QStringLiteral("IF(naimen=0,'Готовая продукция','Заготовки')")).at(13.2, 42.1),
                          field(QStringLiteral("vid")).at(56.9, 43.1).centred(),
                          expression(QStringLiteral("if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')")).at(101.6, 34.7),
                          field(QStringLiteral("kolvo")).at(137.8, 19.3).centred(),
                          field(QStringLiteral("summa")).at(163.0, 23.5).centred().withMask(QStringLiteral("#0.000"))});
    d.detail->font = {QStringLiteral("MS Sans Serif"), 9.0};
    d.reportFooter = band(5.8, {text(QStringLiteral("Итого:")).at(137.8),
                                expression(QStringLiteral("sum(summa)")).at(160.9, 28.0).centred().withMask(QStringLiteral("#0.00"))});
    d.reportFooter->font = {std::nullopt, 11.0, true};
    d.reportFooter->fill = QColor(0xDCDCDC);
    d.reportFooter->frame = Frame::all();
    d.pageFooter = band(4.5, {pageNumber().at(176.2).size(9)});
    return d;
}

const Report& summaryReport()
{
    static const Report report(summaryByWorker());
    return report;
}

const PreparedReport& preparedSummary()
{
    static const PreparedReport prepared = [] {
        GeneratedRows rows;
        return summaryReport().prepare(rows);
    }();
    return prepared;
}

void walkRecords(benchmark::State& state)
{
    double read = 0;
    for (auto _ : state) {
        GeneratedRows rows;
        for (; !rows.atEnd(); rows.next())
            for (int field = 0; field < 7; ++field)
                read += rows.value(field).asNumber();
    }
    benchmark::DoNotOptimize(read);
    state.SetLabel("100000 records, every field read once");
}

void prepareRecords(benchmark::State& state)
{
    size_t pages = 0;
    for (auto _ : state) {
        GeneratedRows rows;
        pages = summaryReport().prepare(rows).pages.size();
    }
    state.SetLabel(QStringLiteral("%1 pages").arg(pages).toStdString());
}

void renderPdf(benchmark::State& state)
{
    const PreparedReport& prepared = preparedSummary();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state)
        writePdf(prepared, path);
    state.SetLabel(QStringLiteral("%1 pages, %2 MB").arg(prepared.pages.size()).arg(QFileInfo(path).size() / 1e6, 0, 'f', 1).toStdString());
}

// Builds the real preview on the records, shows it and draws it once: the first page is
// then on screen while the rest are still to be prepared.
void previewRecords(benchmark::State& state)
{
    int pages = 0;
    for (auto _ : state) {
        GeneratedRows rows;
        PreviewDialog dialog(summaryReport(), rows);
        dialog.show();
        dialog.grab();
        pages = dialog.pageView()->pageCount();
    }
    state.SetLabel(QStringLiteral("%1 pages prepared when the first was drawn").arg(pages).toStdString());
}

// ---- the timesheet of 1,000 workers ----

void seedWorkers(Connection& connection)
{
    connection.execute(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) "
                                      "select 'Рабочий №' || lpad(g::text, 4, '0'), 'Цех №' || (g % 3 + 1) "
                                      "from generate_series(1, %1) g")
                           .arg(kWorkers));
    // Every worker has a row in shift 1 + id % 3 with 8 hours on working days, every
    // fourth one overtime of 2 hours on the same days.
    QStringList days, hours, overtime;
    for (int day = 1; day <= 31; ++day) {
        days << QStringLiteral("d%1").arg(day);
        const bool working = QDate(kYear, kMonth, 1).addDays(day - 1).dayOfWeek() < 6;
        hours << (working ? QStringLiteral("8") : QStringLiteral("null"));
        overtime << (working ? QStringLiteral("2") : QStringLiteral("null"));
    }
    const QString insert = QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, %1) "
                                          "select id, %2, %3, %4, %5 from accounts_dep.person %6");
    const QString columns = days.join(QLatin1Char(','));
    connection.execute(insert.arg(columns, QStringLiteral("1 + id % 3")).arg(kMonth).arg(kYear).arg(hours.join(QLatin1Char(',')), QString()));
    connection.execute(insert.arg(columns, QStringLiteral("4")).arg(kMonth).arg(kYear).arg(overtime.join(QLatin1Char(',')), QStringLiteral("where id % 4 = 0")));
    connection.execute(QStringLiteral("analyze accounts_dep.h_tabel"));
}

void readTimesheet(benchmark::State& state)
{
    for (auto _ : state) {
        Form15->openMonth(kMonth, kYear);
        Form15->H_Tabel.close();
    }
    state.SetLabel("H_Tabel opened and closed");
}

void printTimesheet(benchmark::State& state)
{
    size_t pages = 0;
    setPreviewShower([&](const PreparedReport& prepared, QWidget*) { pages = prepared.pages.size(); });
    for (auto _ : state)
        Form19->Button6Click();
    setPreviewShower({});
    state.SetLabel(QStringLiteral("%1 pages prepared").arg(pages).toStdString());
}

void printTimesheetToScreen(benchmark::State& state)
{
    int pages = 0;
    for (auto _ : state)
        pages = timePreview([] { Form19->Button6Click(); }).pagesAtFirst;
    state.SetLabel(QStringLiteral("%1 pages prepared when the first was drawn").arg(pages).toStdString());
}

void exportTimesheet(benchmark::State& state)
{
    for (auto _ : state)
        Form19->Button2Click();
    state.SetLabel(Form19->Button2->text().toStdString());
}

void registerTimed(const char* name, void (*run)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The finished workbook goes to a command that does nothing: the export is timed, not
    // the spreadsheet application.
    if (qEnvironmentVariableIsEmpty("TABEL_SPREADSHEET_COMMAND"))
        qputenv("TABEL_SPREADSHEET_COMMAND", "true");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    openBenchDatabase();
    seedWorkers(DataModule6->ADO_DB);
    Form15 = new TForm15;
    Form19 = new TForm19;
    Form19->ComboBox1->setCurrentIndex(kMonth - 1);
    Form19->ComboBox2->setCurrentIndex(Form19->ComboBox2->findText(QString::number(kYear)));

    registerTimed("report/walk 100000 records (baseline)", walkRecords);
    registerTimed("report/prepare 100000 records, 2 groups, sums", prepareRecords);
    registerTimed("report/all pages to PDF", renderPdf);
    registerTimed("report/real preview, first page drawn", previewRecords);
    registerTimed("timesheet 1000 workers/H_Tabel read (baseline)", readTimesheet);
    registerTimed("timesheet 1000 workers/Печать to prepared pages", printTimesheet);
    registerTimed("timesheet 1000 workers/Печать to first page in the preview", printTimesheetToScreen);
    registerTimed("timesheet 1000 workers/Excel to workbook handed over", exportTimesheet);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    delete Form19;
    delete Form15;
    delete DataModule6;
    return 0;
}
