// A brigade's shift at plant scale, side by side in one run:
// - the keystrokes and the time of a brigade of ten (quantity, rejects and hours each),
//   driven through the real windows with key events: the brigade window, typed from
//   nothing and started from a copied shift, against the record editor one record at a
//   time (the baseline);
// - the save of a grid of 50 records in one transaction against 50 single saves of the
//   record editor's save path (the baseline), on the plant month.
//
// Needs a database built from db/schema.sql; scripts/run-bench.sh starts a throwaway
// server and runs this program on it (TABEL_BENCH_PGHOST, TABEL_BENCH_DATABASE).

#include "app/journal_window.h"
#include "app/startup.h"
#include "bench_seams.h"
#include "data_module.h"
#include "date_box.h"
#include "entry_grid.h"
#include "journal/brigade_window.h"
#include "journal/record_editor.h"
#include "plant_month.h"
#include "record_save.h"
#include "reference/operations_window.h"
#include "reference/workers_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>
#include <deque>

namespace {

PlantMonth plant;
const int kItem = 1, kOperation = 2;
const QString kOperationSearch = QStringLiteral("СТ-1");

// One worker's line of the brigade: the start of his name, as typed in both windows.
struct Entry {
    QString name, quantity, rejects, hours;
};
const Entry kBrigade[] = {{"Абр", "42", "0", "8"}, {"Бор", "38", "1", "8"}, {"Вла", "45", "0", "8"}, {"Гус", "40", "0", "8"},
                          {"Дро", "36", "2", "8"}, {"Ежо", "44", "0", "8"}, {"Жук", "39", "0", "8"}, {"Зай", "41", "1", "8"},
                          {"Иль", "37", "0", "8"}, {"Кот", "43", "0", "8"}};

// ---- the user at the keyboard ----

int keys = 0;

void press(QWidget* widget, Qt::Key key)
{
    ++keys;
    QTest::keyClick(widget, key);
}

void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        ++keys;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// What the user does in each window shown modally, in order.
std::deque<std::function<void()>> inWindows;

int showWithTheUser(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    if (!QTest::qWaitForWindowActive(&dialog))
        qFatal("the record editor did not become active");
    std::function<void()> act = std::move(inWindows.front());
    inWindows.pop_front();
    act();
    const int result = dialog.result();
    dialog.hide();
    return result;
}

// The operations list picks the operation found by the search, with Enter.
void pickOperationInList()
{
    inWindows.push_back([] {
        type(Form4->Edit1, kOperationSearch);
        press(Form4->Edit1, Qt::Key_Return);
    });
}

void showJournalOn(const QDate& date)
{
    Form1->DateT->setDate(date);
    Form1->DateTCloseUp();
}

int recordsOn(const QDate& date)
{
    Dataset count(DataModule6->ADO_DB, QStringLiteral("select count(*) as cnt from accounts_dep.smena where data=:data and smena=1"));
    count.setParam(QStringLiteral("data"), date);
    count.open();
    return count.fieldByName(QStringLiteral("cnt")).asInteger();
}

// Each worker's cells closed by Enter; the rejects typed only when there are any (a new row
// shows none), the hours only on the first row (a new row takes the hours above).
void typeBrigadeIntoGrid()
{
    for (int n = 0; n < int(std::size(kBrigade)); ++n) {
        const Entry& e = kBrigade[n];
        type(Form27->DBGrid1, e.name);
        press(Form27->DBGrid1, Qt::Key_Return);
        type(Form27->DBGrid1, e.quantity);
        press(Form27->DBGrid1, Qt::Key_Return);
        if (e.rejects != QStringLiteral("0"))
            type(Form27->DBGrid1, e.rejects);
        press(Form27->DBGrid1, Qt::Key_Return);
        if (n == 0)
            type(Form27->DBGrid1, e.hours);
        press(Form27->DBGrid1, Qt::Key_Return);
    }
}

void saveAndClose()
{
    Form27->activateWindow();
    if (!QTest::qWaitForWindowActive(Form27))
        qFatal("the brigade window did not become active");
    press(Form27, Qt::Key_F2);
    press(Form27->DBGrid1, Qt::Key_Escape);
}

// The brigade window from "Бригада": the operation picked once, then row after row.
void brigadeWindow()
{
    inWindows.push_back([] {
        press(Form27->Button4, Qt::Key_Return);
        typeBrigadeIntoGrid();
        saveAndClose();
    });
    pickOperationInList();
    press(Form1->Button9, Qt::Key_Return);
}

// The same brigade the next day, started from the day before: "Копировать с…", then the
// quantities and rejects typed (Enter passes the hours copied; the next row is entered at
// its quantity).
void brigadeWindowFromCopy()
{
    inWindows.push_back([] {
        press(Form27->Button2, Qt::Key_Return);
        for (const Entry& e : kBrigade) {
            type(Form27->DBGrid1, e.quantity);
            press(Form27->DBGrid1, Qt::Key_Return);
            type(Form27->DBGrid1, e.rejects);  // a copy leaves the rejects empty as well
            press(Form27->DBGrid1, Qt::Key_Return);
            press(Form27->DBGrid1, Qt::Key_Return);  // the hours copied
        }
        saveAndClose();
    });
    press(Form1->Button9, Qt::Key_Return);
}

// "Добавить" once per worker: the worker and the operation from their lists, then quantity,
// hours and (when there are any) rejects, Tab from box to box and Enter to save.
void recordEditorOneByOne()
{
    for (const Entry& e : kBrigade) {
        inWindows.push_back([&e] {
            press(Form11->Button3, Qt::Key_Return);
            press(Form11->Button3, Qt::Key_Tab);
            press(Form11->Button4, Qt::Key_Return);
            press(Form11->Button4, Qt::Key_Tab);
            type(Form11->Edit3, e.quantity);
            press(Form11->Edit3, Qt::Key_Tab);
            type(Form11->Edit6, e.hours);
            if (e.rejects != QStringLiteral("0")) {
                press(Form11->Edit6, Qt::Key_Tab);  // the date
                press(Form11->DTimeP, Qt::Key_Tab);
                type(Form11->Edit4, e.rejects);
            }
            press(Form11->Edit4, Qt::Key_Return);
        });
        inWindows.push_back([&e] {
            type(Form5->Edit1, e.name);
            press(Form5->Edit1, Qt::Key_Return);
        });
        pickOperationInList();
        press(Form1->Button1, Qt::Key_Return);
    }
}

// Each entry of the brigade on a date of its own, after the plant month; an entry from the
// day before copies the one before it.
QDate nextEntryDate()
{
    static QDate last(plant.year, plant.month + 1, 6);
    last = last.addDays(1);
    return last;
}

// One way of entering the brigade; its keystrokes beside its time.
void entered(benchmark::State& state, void (*enter)())
{
    for (auto _ : state) {
        const QDate date = nextEntryDate();
        showJournalOn(date);
        const int before = recordsOn(date);
        keys = 0;
        QElapsedTimer timer;
        timer.start();
        enter();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (recordsOn(date) - before != int(std::size(kBrigade)))
            state.SkipWithError("the brigade was not written");
    }
    state.counters["keys"] = keys;
}

// ---- the save of a grid at plant scale ----

const int kSaveShift = 2;
int nextColour = 1000;  // every saved record is a new one: its colour is not used yet

std::vector<pay::JournalRecord> fiftyRecords()
{
    std::vector<pay::JournalRecord> records;
    const int colour = nextColour++;
    for (int worker = 1; worker <= 50; ++worker) {
        pay::JournalRecord r;
        r.workerId = worker;
        r.itemId = kItem;
        r.operationId = kOperation;
        r.shift = kSaveShift;
        r.date = QDate(plant.year, plant.month, 10);
        r.entered = r.date;
        r.colour = colour;
        r.price = 12.5;
        r.quantity = 10;
        // No hours: however many saves run, each day stays within its 24 hours.
        r.hours = 0;
        records.push_back(r);
    }
    return records;
}

void gridSave(benchmark::State& state)
{
    for (auto _ : state)
        if (!record_save::saveAll(*DataModule6, fiftyRecords()).empty())
            state.SkipWithError("the grid was refused");
}

void singleSaves(benchmark::State& state)
{
    for (auto _ : state)
        for (const pay::JournalRecord& r : fiftyRecords())
            if (record_save::save(*DataModule6, r).outcome != record_save::Outcome::Saved)
                state.SkipWithError("a save was refused");
}

// The brigade's workers (their names apart from the plant's "Рабочий №…"), the item and the
// operation the records refer to, with its norm price.
void seedBrigade()
{
    Connection& db = DataModule6->ADO_DB;
    const char* const names[] = {"Абрамов А.А.", "Борисов Б.Б.", "Власов В.В.", "Гусев Г.Г.", "Дронов Д.Д.",
                                 "Ежов Е.Е.",    "Жуков Ж.Ж.",   "Зайцев З.З.", "Ильин И.И.", "Котов К.К."};
    for (const char* name : names)
        db.execute(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) values ('%1', 'Цех №1')").arg(QString::fromUtf8(name)));
    db.execute(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa) "
                              "values (%1, 'Стол СТ-1', '', 6, 1.5)")
                   .arg(kItem));
    db.execute(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (1, 'Сборка')"));
    db.execute(QStringLiteral("insert into accounts_dep.oper (id, vid, naimen, i_id, cena_new) values (%1, 1, 0, %2, 0)").arg(kOperation).arg(kItem));
    db.execute(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) values (%1, 0, 12.5, 0)").arg(kOperation));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    useRussianInterface();
    benchmark::Initialize(&argc, argv);
    const QString host = qEnvironmentVariable("TABEL_BENCH_PGHOST"), database = qEnvironmentVariable("TABEL_BENCH_DATABASE");
    StandInSeams seams;
    seams::setModalShower(showWithTheUser);
    if (host.isEmpty() || database.isEmpty() || !createApplicationWindows({QStringLiteral("brigade_bench"), database, host})) {
        std::fprintf(stderr, "TABEL_BENCH_PGHOST and TABEL_BENCH_DATABASE name the database (see scripts/run-bench.sh)\n");
        return 2;
    }
    seedAndDescribePlantMonth(DataModule6->ADO_DB, plant);
    seedBrigade();
    Form1->show();

    benchmark::RegisterBenchmark("brigade of 10/brigade window", [](benchmark::State& s) { entered(s, brigadeWindow); })
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("brigade of 10/brigade window from the day before",
                                 [](benchmark::State& s) { entered(s, brigadeWindowFromCopy); })
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("brigade of 10/record editor one by one (baseline)",
                                 [](benchmark::State& s) { entered(s, recordEditorOneByOne); })
        ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("save of 50 records/grid in one transaction (aim: under 200 ms)", gridSave)
        ->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("save of 50 records/50 single saves (baseline)", singleSaves)
        ->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Form1->hide();
    destroyApplicationWindows();
    return 0;
}
