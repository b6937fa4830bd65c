#include "data_module.h"
#include "golden_file.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "reports/pay_statement.h"
#include "reports/pay_statement_lines.h"
#include "reports/pay_statement_pages.h"
#include "pdf_reader.h"
#include "prepared_report.h"
#include "reports/report_chooser.h"
#include "report_chooser_fixture.h"
#include "report_renderer.h"
#include "russian_locale.h"
#include "sql_text.h"
#include "xlsx_reader.h"
#include "reference/workers_window.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using PrintedLine = pay_statement::Line;
using Style = PrintedLine::Style;

QStringList texts(const report::PreparedPage& page)
{
    QStringList onPage;
    for (const report::Primitive& primitive : page.primitives)
        if (const auto* box = std::get_if<report::TextBox>(&primitive))
            onPage << box->text;
    return onPage;
}

// A printed amount ("1234,56") in kopecks.
qint64 kopecksOf(const QString& printed)
{
    QString text = printed;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    EXPECT_TRUE(ok) << printed.toStdString();
    return qRound64(value * 100);
}

class PayStatementsTest : public ReportChooserTest {
protected:
    // The month that tells: shifts 1 and 2, overtime, rejects, a price of four decimals,
    // two lines whose halves of a kopeck round up each, an unaccepted record, a deleted
    // operation, household entries, the timesheet's hours, two workers of one name, a
    // worker the ERP does not know, and one with household works alone.
    void seedTellingMonth()
    {
        ivanov = seed->worker("Иванов И.И.", "Цех №1");
        namesake = seed->worker("Иванов И.И.", "Цех №2");
        petrov = seed->worker("Петров П.П.", "Цех №3");
        const Line paint = line(ivanov, "Столы", "Покраска");
        const Line blanks = line(ivanov, "Столы", "Раскрой", 1);
        records = {
            {paint, from, 1, 10, 2, 1, 12.5, "ok"},             // 8 × 12.5 = 100.00
            {blanks, from.addDays(1), 2, 7, 0, 0, 1.2341, "ok"}, // 8.6387 → 8.64
            {paint, from.addDays(2), 1, 1, 0, 0, 1.0055, "no"},  // 1.0055 → 1.01, not accepted
            {blanks, from.addDays(2), 1, 1, 0, 0, 1.0055, "ok"}, // 1.01 again: 2.02 on paper, 2.011 exact
            {paint, from.addDays(3), 4, 3, 0, 5, 0.1235, "ok"},  // overtime: 0.3705 → 0.37
            {line(namesake, "Стулья", "Сборка"), from.addDays(4), 3, 5, 1, 0, 2.0, "ok"},
        };
        for (const Rec& r : records)
            record(r);
        // A record of an operation deleted since: listed, and paid.
        const int gone = seed->operation(paint.item, seed->operationKind("Шлифовка"));
        record({Line{ivanov, paint.item, gone}, from.addDays(5), 1, 2, 0, 0, 3.5, "ok"});
        db->exec(QStringLiteral("delete from accounts_dep.oper where id=%1").arg(gone));
        // A record of a worker key that no ERP person has.
        record({Line{7777777, paint.item, paint.operation}, from.addDays(6), 1, 1, 0, 0, 4.0, "ok"});
        // Outside the period.
        record({paint, to, 1, 99, 0, 0, 10.0, "ok"});

        seed->operationKind("Хоз. работы", 7777);
        const int entry = seed->classifierEntry("Уборка");
        household(ivanov, entry, from.addDays(7), 4, 150);       // 600.00
        household(ivanov, entry, from.addDays(8), 3, 123.4567);  // 370.3701 → 370.37
        household(petrov, entry, from.addDays(9), 2, 150);       // 300.00
        household(petrov, entry, to, 5, 150);                    // outside the period

        // Timesheet: shift 1 on the 1st and 2nd, shift 2 on the 2nd; January is outside.
        db->exec(QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d1, d2) values "
                                "(%1, 1, 2, 2024, 8, 8), (%1, 2, 2, 2024, null, 4), (%1, 1, 1, 2024, 8, 8)")
                     .arg(ivanov));
    }

    struct Rec {
        Line line;
        QDate date;
        int shift, quantity, rejects, color;
        double price;
        QString ok;
    };
    void record(const Rec& r)
    {
        Seed::Record s;
        s.worker = r.line.worker;
        s.item = r.line.item;
        s.operation = r.line.operation;
        s.date = r.date;
        s.shift = r.shift;
        s.quantity = r.quantity;
        s.rejects = r.rejects;
        s.color = r.color;
        s.price = r.price;
        s.ok = r.ok;
        seed->record(s);
    }

    void household(int worker, int entry, const QDate& date, int hours, double price)
    {
        db->exec(QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, "
                                "price) values (%1, 7777, %2, %3, %4, %5, 1, %6, %7)")
                     .arg(entry)
                     .arg(worker)
                     .arg(sql_text::toDate(date))
                     .arg(date.month())
                     .arg(date.year())
                     .arg(hours)
                     .arg(sql_text::decimal(price, 4)));
    }

    // Clicks the button in the chooser and returns the pages the preview got, if any.
    std::optional<report::PreparedReport> click(QPushButton* TForm18::*button, std::function<void()> before = {})
    {
        const size_t previewsBefore = fakes->previews.size();
        openChooser([&] {
            if (before)
                before();
            QTest::mouseClick(Form18->*button, Qt::LeftButton);
        });
        if (fakes->previews.size() == previewsBefore)
            return std::nullopt;
        return fakes->previews.back();
    }

    // Picks the worker in the workers list, typing the search as a user does.
    std::optional<report::PreparedReport> printOne(const QString& search)
    {
        return click(&TForm18::Button8, [&] {
            fakes->modalActions.push_back(list_test::whileShown([&](QDialog&) {
                list_test::type(*Form5, search);
                Form5->Button2->click();
            }));
        });
    }

    // Every statement of the period as the preview gets its pages.
    report::PreparedReport prepared()
    {
        PayStatementPages pages(pay_statement::read(DataModule6->ADO_DB, from, to), from, to);
        return report::allPages(pages);
    }

    QString sql(const QString& text) { return db->scalar(text); }

    // The period's sums computed by the database, each line rounded to the kopeck.
    QString pieceSum(int worker, const QString& shifts)
    {
        return sql(QStringLiteral("select coalesce(sum(round(((kol_vo-brak)*cena)::numeric, 2)), 0) from accounts_dep.smena "
                                  "where w_id=%1 and smena in (%2) and data >= '2024-02-01' and data < '2024-03-01'")
                       .arg(worker)
                       .arg(shifts));
    }
    QString householdSum(int worker)
    {
        return sql(QStringLiteral("select coalesce(sum(round((cnt*price)::numeric, 2)), 0) from accounts_dep.fatigue "
                                  "where id_p=%1 and d_date >= '2024-02-01' and d_date < '2024-03-01'")
                       .arg(worker));
    }

    int ivanov = 0, namesake = 0, petrov = 0;
    std::vector<Rec> records;
};

// The worker's pages of a prepared document: from the page numbered "Лист 1 из N" on.
std::vector<QStringList> statementOf(const report::PreparedReport& pages, const QString& name, int occurrence = 0)
{
    for (size_t p = 0; p < pages.pages.size(); ++p) {
        const QStringList onPage = texts(pages.pages[p]);
        if (onPage.size() > 2 && onPage[1] == name && occurrence-- == 0) {
            const int count = onPage.last().section(' ', -1).toInt();
            std::vector<QStringList> statement;
            for (int k = 0; k < count; ++k)
                statement.push_back(texts(pages.pages[p + size_t(k)]));
            return statement;
        }
    }
    ADD_FAILURE() << "no statement of " << name.toStdString();
    return {};
}

QString amountAfter(const QStringList& onPage, const QString& caption, int offset)
{
    const int at = onPage.indexOf(caption);
    EXPECT_GE(at, 0) << caption.toStdString();
    return at >= 0 ? onPage.value(at + offset) : QString();
}

// Each worker's sums on paper are the database's, line by line rounded to the kopeck,
// and the total to pay is piece work plus household works.
TEST_F(PayStatementsTest, TellingMonthPrintsTheDatabasesSumsPerWorker)
{
    const RussianLocale russian;
    seedTellingMonth();
    const auto pages = click(&TForm18::Button7);
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->title, "Расчетные листки за февраль 2024");

    const QStringList first = statementOf(*pages, "Иванов И.И.", 0).at(0);
    EXPECT_EQ(first[0], "Расчетный листок за февраль 2024");
    EXPECT_EQ(first[2], "Цех №1");
    EXPECT_EQ(first.last(), "Лист 1 из 1");
    // The subtotal's good pieces and pay follow its caption.
    EXPECT_EQ(amountAfter(first, "Итого смены 1-3", 2).replace(',', '.'), pieceSum(ivanov, "1,2,3"));
    EXPECT_EQ(amountAfter(first, "Итого смены 1-3", 1), "19");  // 8 + 7 + 1 + 1 + 2
    EXPECT_EQ(amountAfter(first, "Итого переработка", 2).replace(',', '.'), pieceSum(ivanov, "4"));
    EXPECT_EQ(amountAfter(first, "Итого сдельно", 2).replace(',', '.'), pieceSum(ivanov, "1,2,3,4"));
    EXPECT_EQ(amountAfter(first, "Итого хозяйственные работы", 2).replace(',', '.'), householdSum(ivanov));
    EXPECT_EQ(amountAfter(first, "Итого хозяйственные работы", 1), "7");
    const QString toPay = sql(QStringLiteral("select %1::numeric + %2::numeric").arg(pieceSum(ivanov, "1,2,3,4"), householdSum(ivanov)));
    EXPECT_EQ(amountAfter(first, "Итого к выплате", 1).replace(',', '.'), toPay);
    EXPECT_EQ(first.count("не принято"), 1);
    EXPECT_TRUE(first.contains("(операция удалена)"));
    EXPECT_TRUE(first.contains("1,2341"));
    EXPECT_TRUE(first.contains("Покраска (грунт)"));
    EXPECT_TRUE(first.contains("Переработка"));
    EXPECT_TRUE(first.contains("Заготовки"));
    EXPECT_TRUE(first.contains("С расчетом ознакомлен: ____________ / дата ______"));
    // Hours of February only: 8 + 8 in shift 1, 4 in shift 2, on two days.
    EXPECT_EQ(amountAfter(first, "Всего", 1), "20");
    EXPECT_EQ(amountAfter(first, "Всего", 2), "2");

    // The namesake is a statement of his own, with his own record.
    const QStringList second = statementOf(*pages, "Иванов И.И.", 1).at(0);
    EXPECT_EQ(second[2], "Цех №2");
    EXPECT_EQ(amountAfter(second, "Итого к выплате", 1).replace(',', '.'), pieceSum(namesake, "1,2,3,4"));
    // Household works alone make a statement; an unknown person is listed, marked.
    const QStringList third = statementOf(*pages, "Петров П.П.").at(0);
    EXPECT_EQ(amountAfter(third, "Итого к выплате", 1).replace(',', '.'), householdSum(petrov));
    EXPECT_TRUE(third.contains("Записей в журнале за период нет"));
    EXPECT_EQ(statementOf(*pages, "Рабочий (код 7777777 не найден среди лиц ERP)").at(0).contains("4,00"), true);
    EXPECT_EQ(pages->pages.size(), 4u);
}

// Every subtotal printed equals the sum of the amounts printed above it, also where the
// exact sum rounds to another kopeck (two lines of 1.0055: 2.02 on paper, 2.011 exact).
TEST_F(PayStatementsTest, EverySubtotalIsTheSumOfThePrintedLinesAboveIt)
{
    const RussianLocale russian;
    seedTellingMonth();
    const auto statements = pay_statement::read(DataModule6->ADO_DB, from, to);
    ASSERT_EQ(statements.size(), 4u);
    // 100 + 8.6387 + 1.0055 + 1.0055 + 7: 117.65 exact, 117.66 as the lines are printed.
    const QString exact = sql(QStringLiteral("select round(sum((kol_vo-brak)*cena::numeric), 2) from accounts_dep.smena "
                                             "where w_id=%1 and data >= '2024-02-01' and data < '2024-03-01' and smena < 4")
                                  .arg(ivanov));
    EXPECT_EQ(exact, "117.65");
    const std::vector<PrintedLine> ivanovLines = pay_statement::lines(statements[0]);
    EXPECT_TRUE(std::any_of(ivanovLines.begin(), ivanovLines.end(), [](const PrintedLine& l) {
        return l.cells.value(2) == "Итого смены 1-3" && l.cells.value(9) == "117,66";
    }));
    for (const pay_statement::Statement& s : statements) {
        qint64 block = 0, pieces = 0, householdSum = 0, subtotals = 0;
        for (const PrintedLine& l : pay_statement::lines(s)) {
            if (l.style == Style::Piece)
                block += kopecksOf(l.cells[9]);
            else if (l.style == Style::PieceBold && l.cells[2].startsWith("Итого ") && l.cells[2] != "Итого сдельно") {
                EXPECT_EQ(kopecksOf(l.cells[9]), block) << s.name.toStdString() << " " << l.cells[2].toStdString();
                subtotals += block;
                pieces += block;
                block = 0;
            } else if (l.cells.value(2) == "Итого сдельно") {
                EXPECT_EQ(kopecksOf(l.cells[9]), subtotals);
            }
            else if (l.style == Style::Columns && !l.cells[4].isEmpty())
                householdSum += kopecksOf(l.cells[4]);
            else if (l.style == Style::ColumnsBold && l.cells[1] == "Итого хозяйственные работы") {
                EXPECT_EQ(kopecksOf(l.cells[4]), householdSum);
            }
            else if (l.style == Style::TextBold && l.cells[0] == "Итого к выплате") {
                EXPECT_EQ(kopecksOf(l.cells[1]), pieces + householdSum) << s.name.toStdString();
            }
        }
    }
    EXPECT_EQ(statements[0].pieceKopecks(), 11803);  // 100 + 8.64 + 1.01 + 1.01 + 0.37 + 7.00
}

// A worker starts a new page; a worker's pages are numbered among themselves, and the
// pages after the first name the worker at the top.
TEST_F(PayStatementsTest, EachWorkerStartsANewPageNumberedAmongHisOwn)
{
    const RussianLocale russian;
    const int many = seed->worker("Андреев А.А.");
    const int few = seed->worker("Борисов Б.Б.");
    const Line l = line(many, "Столы", "Сборка");
    for (int day = 0; day < 28; ++day)
        for (int shift = 1; shift <= 3; ++shift)
            record({l, from.addDays(day), shift, 2, 0, 0, 1.5, "ok"});
    record({Line{few, l.item, l.operation}, from, 1, 2, 0, 0, 1.5, "ok"});

    const report::PreparedReport pages = prepared();
    ASSERT_EQ(pages.pages.size(), 3u);
    const QStringList p1 = texts(pages.pages[0]), p2 = texts(pages.pages[1]), p3 = texts(pages.pages[2]);
    EXPECT_EQ(p1[1], "Андреев А.А.");
    EXPECT_EQ(p1.last(), "Лист 1 из 2");
    EXPECT_EQ(p2.mid(p2.size() - 2), QStringList({"Андреев А.А.", "Лист 2 из 2"}));
    EXPECT_TRUE(p2.contains("Итого к выплате"));
    EXPECT_EQ(p3[1], "Борисов Б.Б.");
    EXPECT_EQ(p3.last(), "Лист 1 из 1");
}

// Full access and the reporting role print statements; the foreman and the warehouse
// see the buttons disabled.
TEST_F(PayStatementsTest, OnlyFullAccessAndReportingRolePrintStatements)
{
    const struct {
        const char* code;
        bool enabled;
    } roles[] = {{"8573", true}, {"fincal", true}, {"brigvex", false}, {"vrelk", false}};
    for (const auto& role : roles)
        openChooser(role.code, [&] {
            for (QPushButton* b : {Form18->Button7, Form18->Button8, Form18->Button9, Form18->Button10})
                EXPECT_EQ(b->isEnabled(), role.enabled) << role.code << " " << b->objectName().toStdString();
        });
    EXPECT_EQ(Form18->Button7->text(), "Расчетные листки");
    EXPECT_EQ(Form18->Button8->text(), "Листок рабочего…");
}

// One worker is chosen in the workers list with a search typed; his statement alone is
// printed. With nothing in the period his statement is one page that says so, and all
// workers with nothing in the period give a message and no preview.
TEST_F(PayStatementsTest, OneWorkerPickedAndTheEmptyCases)
{
    const RussianLocale russian;
    seedTellingMonth();
    const int idle = seed->worker("Яковлев Я.Я.");
    auto pages = printOne("Петр");
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->pages.size(), 1u);
    EXPECT_EQ(texts(pages->pages[0])[1], "Петров П.П.");
    EXPECT_EQ(pages->title, "Расчетный листок за февраль 2024 Петров П.П.");

    pages = printOne("Як");
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->pages.size(), 1u);
    EXPECT_EQ(texts(pages->pages[0]),
              QStringList({"Расчетный листок за февраль 2024", "Яковлев Я.Я.", "Цех №1",
                           "За период нет ни записей журнала, ни хозяйственных работ", "Лист 1 из 1"}));
    EXPECT_GT(idle, 0);

    // A period without anything: March of 2025.
    openChooser([&] {
        typeDate(Form18->DTPicker1, "01.03.2025");
        typeDate(Form18->DTPicker2, "01.04.2025");
        const size_t before = fakes->previews.size();
        QTest::mouseClick(Form18->Button7, Qt::LeftButton);
        EXPECT_EQ(fakes->previews.size(), before);
    });
    EXPECT_EQ(messageTexts().join('\n'), "Расчетные листки: За период нет ни записей журнала, ни хозяйственных работ");
    EXPECT_EQ(pay_statement::periodCaption(QDate(2024, 2, 3), QDate(2024, 2, 15)), "за период с 03.02.2024 по 14.02.2024");
}

// The statements written to a PDF read back with their texts; the golden prepared pages
// hold the look (the title is the chooser's, tested with it). TABEL_WRITE_REFERENCE=1 writes the reference afresh.
TEST_F(PayStatementsTest, PdfReadsBackAndPreparedPagesMatchTheirReference)
{
    const RussianLocale russian;
    seedTellingMonth();
    const report::PreparedReport pages = prepared();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("statements.pdf");
    ASSERT_TRUE(report::writePdf(pages, pdf));
    const PdfContents read = readPdf(pdf);
    EXPECT_EQ(read.pages, 4);
    for (const char* expected : {"Расчетный листок за февраль 2024", "Иванов И.И.", "Петров П.П.", "Итого смены 1-3",
                                 "Итого к выплате", "не принято", "Лист 1 из 1", "С расчетом ознакомлен"})
        EXPECT_TRUE(read.text.contains(QString::fromUtf8(expected))) << expected << "\n" << read.text.toStdString();
    if (const QByteArray keep = qgetenv("TABEL_KEEP_STATEMENT_PDF"); !keep.isEmpty())
        QFile::copy(pdf, QString::fromLocal8Bit(keep));

    expectGoldenFile(report::describe(pages), QDir(QStringLiteral(TABEL_REPORT_REFERENCES)).filePath("PayStatements.txt"));
}

// "Расчетные листки в Excel" writes the same statements in one sheet, a block per worker:
// head, lines, every amount in column J as a number, the sums those of the paper.
TEST_F(PayStatementsTest, WorkbookHoldsTheStatementsOneBlockPerWorker)
{
    const RussianLocale russian;
    seedTellingMonth();
    openChooser([] { QTest::mouseClick(Form18->Button9, Qt::LeftButton); });
    ASSERT_EQ(fakes->spreadsheets.opened.size(), 1u);
    const XlsxFile book(fakes->spreadsheets.opened.front());
    EXPECT_EQ(book.cell(1, 1).value, "Расчетный листок за февраль 2024");
    EXPECT_TRUE(book.cell(2, 1).bold);
    EXPECT_EQ(book.cell(2, 1).value, "Иванов И.И.");
    EXPECT_EQ(book.cell(3, 1).value, "Цех №1");

    // Column C of a row names its subtotal; column A a text line.
    std::map<QString, std::vector<QString>> amounts;  // caption → column J of each worker, in order
    QStringList names;
    const int rows = int(book.cells.size());  // no more rows than cells
    for (int row = 1; row <= rows; ++row) {
        if (book.cell(row, 1).value == "Расчетный листок за февраль 2024")
            names << book.cell(row + 1, 1).value;
        for (const QString& caption : {book.cell(row, 1).value, book.cell(row, 3).value})
            if (caption.startsWith("Итого")) {
                EXPECT_EQ(book.cell(row, 10).type, XlsxCell::Type::Number) << caption.toStdString();
                amounts[caption].push_back(book.cell(row, 10).value);
            }
    }
    EXPECT_EQ(names, QStringList({"Иванов И.И.", "Иванов И.И.", "Петров П.П.",
                                  "Рабочий (код 7777777 не найден среди лиц ERP)"}));
    EXPECT_EQ(amounts["Итого смены 1-3"].front(), "117.66");
    EXPECT_EQ(amounts["Итого сдельно"].front(), pieceSum(ivanov, "1,2,3,4"));
    EXPECT_EQ(amounts["Итого к выплате"],
              std::vector<QString>({"1088.4", "8", householdSum(petrov).remove(QRegularExpression("\\.?0+$")), "4"}));
}

// "Листок рабочего в Excel…" writes the statement of the worker chosen in the workers list
// alone; leaving the list without a choice writes nothing.
TEST_F(PayStatementsTest, OneWorkersWorkbookHoldsHisStatementAlone)
{
    const RussianLocale russian;
    seedTellingMonth();
    openChooser([&] {
        fakes->modalActions.push_back(list_test::whileShown([](QDialog&) {
            list_test::type(*Form5, "Петр");
            Form5->Button2->click();
        }));
        QTest::mouseClick(Form18->Button10, Qt::LeftButton);
        fakes->modalActions.push_back(list_test::whileShown([](QDialog& list) { list.reject(); }));
        QTest::mouseClick(Form18->Button10, Qt::LeftButton);
    });
    ASSERT_EQ(fakes->spreadsheets.opened.size(), 1u);
    const XlsxFile book(fakes->spreadsheets.opened.front());
    QStringList names;
    for (int row = 1; row <= int(book.cells.size()); ++row)
        if (book.cell(row, 1).value == "Расчетный листок за февраль 2024")
            names << book.cell(row + 1, 1).value;
    EXPECT_EQ(names, QStringList({"Петров П.П."}));
}

}  // namespace
