#include "data_module.h"
#include "golden_file.h"
#include "reports/period_reports.h"
#include "pdf_reader.h"
#include "prepared_report.h"
#include "reports/report_chooser.h"
#include "report_chooser_fixture.h"
#include "report_preview.h"
#include "report_renderer.h"
#include "russian_locale.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

// The texts of a prepared report, page by page, in the order they are printed.
std::vector<QStringList> pageTexts(const report::PreparedReport& pages)
{
    std::vector<QStringList> texts;
    for (const report::PreparedPage& page : pages.pages) {
        QStringList onPage;
        for (const report::Primitive& primitive : page.primitives)
            if (const auto* box = std::get_if<report::TextBox>(&primitive))
                onPage << box->text;
        texts.push_back(onPage);
    }
    return texts;
}

// The four printed reports as the chooser offers them.
struct ReportButton {
    const char* name;  // the layout window
    QPushButton* TForm18::*button;
    const char* title;
};
const ReportButton kReports[] = {
    {"Form16", &TForm18::Button4, "   Отчет по рабочим за период с 01.02.2024 по 01.03.2024"},
    {"Form17", &TForm18::Button2, "   Отчет по продукции за период с 01.02.2024 по 01.03.2024"},
    {"Form20", &TForm18::Button1, "   Детальный отчет по рабочим за период с 01.02.2024 по 01.03.2024"},
    {"Form21", &TForm18::Button3, "   Детальный отчет по продукции за период с 01.02.2024 по 01.03.2024"},
};

class PeriodReportsTest : public ReportChooserTest {
protected:
    void SetUp() override
    {
        ReportChooserTest::SetUp();
        report::setPreviewShower([this](const report::PreparedReport& pages, QWidget* parent) {
            previewed.push_back(pages);
            previewParents.push_back(parent);
        });
    }
    void TearDown() override
    {
        report::setPreviewShower({});
        ReportChooserTest::TearDown();
    }

    // Clicks the report's button in the chooser (after the product kind, when given) and
    // returns the pages the preview got.
    report::PreparedReport print(const ReportButton& r, int productKind = 0)
    {
        const size_t before = previewed.size();
        openChooser([&] {
            if (productKind)
                chooseProductKind(productKind);
            QTest::mouseClick(Form18->*r.button, Qt::LeftButton);
        });
        if (previewed.size() != before + 1) {
            ADD_FAILURE() << r.name << ": no preview; " << messageTexts().join('\n').toStdString();
            return {};
        }
        return previewed.back();
    }

    // Two workers, two items, colours 0, 1 and 5, both product kinds, rejects.
    void seedSmallJournal()
    {
        const int ivanov = seed->worker("Иванов И.И.");
        const int petrov = seed->worker("Петров П.П.");
        const Line tables = line(ivanov, "Столы", "Покраска");
        const Line blanks = line(ivanov, "Столы", "Раскрой", 1);
        const Line chairs = line(petrov, "Стулья", "Сборка");
        record(tables, from, 10, 2, 1, 12.5);
        record(tables, from.addDays(1), 4, 0, 5, 12.5);
        record(blanks, from.addDays(2), 6, 1, 0, 3.25);
        record(chairs, from.addDays(3), 20, 0, 0, 1.2341);
        record(Line{ivanov, chairs.item, chairs.operation}, to.addDays(-1), 3, 0, 0, 1.2341);
        record(chairs, to, 99);  // the "to" date is not in the period
    }

    std::vector<report::PreparedReport> previewed;
    std::vector<QWidget*> previewParents;
};

TEST_F(PeriodReportsTest, WorkerSummaryPrintsOneWorkerHeaderTwoItemGroupsAndTheirSum)
{
    const RussianLocale russian;
    const int worker = seed->worker("Иванов И.И.");
    const Line tables = line(worker, "Столы", "Покраска");
    const Line chairs = line(worker, "Стулья", "Сборка");
    record(tables, from, 10, 2, 0, 12.5);   // 8 good, 100
    record(tables, from, 3, 0, 1, 12.5);    // 3 good in primer, 37.5
    record(chairs, from, 7, 0, 0, 1.2341);  // 7 good, 8.6387

    const auto pages = pageTexts(print(kReports[0]));

    ASSERT_EQ(pages.size(), 1u);
    const QStringList expected = {
        kReports[0].title,
        "Иванов И.И.",
        "Столы",
        "Готовая продукция", "Покраска", " ", "8", "100,000",
        "Готовая продукция", "Покраска", " (грунт)", "3", "37,500",
        "11", "137,500",
        "Стулья",
        "Готовая продукция", "Сборка", " ", "7", "8,639",
        "7", "8,639",
        "146,14",
        "Итого:", "146,14",
        "1",
    };
    EXPECT_EQ(pages[0], expected);
    EXPECT_FALSE(Form16->query().isOpen());
    EXPECT_EQ(previewParents.back(), Form18);
}

TEST_F(PeriodReportsTest, ColoursPrintAsTextInTheSummariesAndAsNumbersInTheDetails)
{
    const RussianLocale russian;
    const int worker = seed->worker("Иванов И.И.");
    const Line tables = line(worker, "Столы", "Покраска");
    record(tables, from, 3, 0, 1);
    record(tables, from, 4, 0, 5);
    // How often each text is on the page; the detailed layouts' "1" is the page number too.
    const struct {
        int report;
        std::vector<std::pair<QString, int>> counts;
    } cases[] = {
        {0, {{" (грунт)", 1}, {" (RAL: 5)", 1}, {"1", 1}, {"5", 0}}},
        {1, {{" (грунт)", 1}, {" (RAL: 5)", 1}, {"1", 1}, {"5", 0}}},
        {2, {{"1", 2}, {"5", 1}, {" (грунт)", 0}}},
        {3, {{"1", 2}, {"5", 1}, {" (грунт)", 0}}},
    };
    for (const auto& c : cases) {
        const QStringList texts = pageTexts(print(kReports[c.report])).at(0);
        for (const auto& [text, count] : c.counts)
            EXPECT_EQ(texts.count(text), count) << kReports[c.report].name << " " << text.toStdString();
    }
}

TEST_F(PeriodReportsTest, ReportFooterIsTheSumOfTheGroupFootersWithTwoDecimals)
{
    const RussianLocale russian;
    const Line first = line(seed->worker("Иванов И.И."), "Столы", "Сборка");
    const Line second = line(seed->worker("Петров П.П."), "Стулья", "Сборка");
    record(first, from, 3, 0, 0, 1.2341);   // 3.7023
    record(second, from, 5, 0, 0, 2.0013);  // 10.0065

    const QStringList texts = pageTexts(print(kReports[0])).at(0);

    // Item footers with three decimals, worker footers and the report's with two.
    const QStringList tail = texts.mid(texts.indexOf("Итого:") - 1);
    EXPECT_EQ(tail, QStringList({"10,01", "Итого:", "13,71", "1"}));
    EXPECT_TRUE(texts.contains("3,702"));
    EXPECT_TRUE(texts.contains("3,70"));
    EXPECT_TRUE(texts.contains("10,007"));
}

TEST_F(PeriodReportsTest, BlanksKeepOnlyProductKindOneAndTheirTotals)
{
    const RussianLocale russian;
    const int worker = seed->worker("Иванов И.И.");
    record(line(worker, "Столы", "Сборка", 0), from, 10, 0, 0, 2.0);
    record(line(worker, "Заготовка", "Раскрой", 1), from, 4, 1, 0, 2.0);

    const QStringList texts = pageTexts(print(kReports[0], 2)).at(0);

    EXPECT_FALSE(texts.contains("Столы"));
    EXPECT_FALSE(texts.contains("Готовая продукция"));
    EXPECT_EQ(texts.mid(texts.indexOf("Итого:")), QStringList({"Итого:", "6,00", "1"}));
    EXPECT_TRUE(Form16->query().filtered());
    EXPECT_EQ(Form16->query().filter(), "naimen=1");
}

TEST_F(PeriodReportsTest, EmptyPeriodGivesAPageWithItsNumber)
{
    record(line(seed->worker("Иванов И.И."), "Столы", "Сборка"), to, 5);
    for (const ReportButton& r : kReports) {
        const report::PreparedReport pages = print(r);
        EXPECT_EQ(pageTexts(pages), std::vector<QStringList>({{"1"}})) << r.name;
    }
}

TEST_F(PeriodReportsTest, TitlesCarryThePrefixAndThePeriodInTheShortDateFormat)
{
    const RussianLocale russian;
    record(line(seed->worker("Иванов И.И."), "Столы", "Сборка"), from, 5);
    for (const ReportButton& r : kReports) {
        const QStringList texts = pageTexts(print(r)).at(0);
        EXPECT_EQ(texts.value(0), r.title) << r.name;
        EXPECT_EQ(previewed.back().title, QString(r.title).trimmed()) << r.name;
    }
}

// An ERP person whose code is no integer (a supplier's code beyond the integer range, or
// letters where the database has no index on the codes) is no worker: every report prints
// what it prints without that person.
TEST_F(PeriodReportsTest, PersonCodeThatIsNoIntegerMatchesNoWorkerAndChangesNoPrintedNumber)
{
    const RussianLocale russian;
    seedSmallJournal();
    std::vector<QStringList> plain;
    for (const ReportButton& r : kReports)
        plain.push_back(report::describe(print(r)));

    db->exec("insert into cmn_contractor.person (s_caption, s_code) values ('ООО Поставщик', '9876543210')");
    db->exec("drop index cmn_contractor.person_s_code_t_id");
    db->exec("insert into cmn_contractor.person (s_caption, s_code) values ('Склад', 'П-17')");
    for (size_t n = 0; n < std::size(kReports); ++n)
        EXPECT_EQ(report::describe(print(kReports[n])), plain[n]) << kReports[n].name;
    EXPECT_TRUE(messageTexts().isEmpty());
}

// Reference files of each layout's prepared pages: tests/reports/reference/<window>.txt,
// one line per primitive. TABEL_WRITE_REFERENCE=1 writes them afresh instead.
TEST_F(PeriodReportsTest, PreparedPagesMatchTheirReferenceFiles)
{
    const RussianLocale russian;
    seedSmallJournal();
    const QDir references(QStringLiteral(TABEL_REPORT_REFERENCES));
    for (const ReportButton& r : kReports)
        expectGoldenFile(report::describe(print(r)), references.filePath(QStringLiteral("%1.txt").arg(r.name)));
}

// The texts of the product detail fit their boxes, also for the longest brand, operation
// kinds and product kind names the plant has: none runs into the column beside it.
TEST_F(PeriodReportsTest, ProductDetailTextsFitTheirBoxes)
{
    const RussianLocale russian;
    const int worker = seed->worker("Иванов И.И.");
    const int household = seed->classifierEntry("Хозяйственные работы");
    const int racks = seed->classifierEntry("Стеллажи");
    const std::pair<int, QString> items[] = {{seed->item("Хозяйственные работы", household), "Хоз. работы (средняя сдельная)"},
                                             {seed->item("Хозяйственные работы ", household), "Хоз. работы (почасовые)"},
                                             {seed->item("Стеллаж СЖ-104", racks), "Грунтовка (КРАСКА)"},
                                             {seed->item("Стеллаж СЖ-105", racks), "Покраска (КРАСКА)"}};
    for (const auto& [item, kind] : items) {
        const int kindId = seed->operationKind(kind);
        for (int naimen = 0; naimen <= 1; ++naimen)
            record(Line{worker, item, seed->operation(item, kindId, naimen)}, from, 120, 3, 9016, 12.5);
    }

    const report::PreparedReport prepared = print(kReports[3]);
    QImage paper(1, 1, QImage::Format_RGB32);
    paper.setDotsPerMeterX(int(600 / 0.0254));
    paper.setDotsPerMeterY(int(600 / 0.0254));
    int texts = 0;
    for (const report::PreparedPage& page : prepared.pages)
        for (const report::Primitive& primitive : page.primitives)
            if (const auto* box = std::get_if<report::TextBox>(&primitive)) {
                const QFontMetricsF metrics(report::deviceFont(box->font, &paper), &paper);
                const double widthMm = metrics.horizontalAdvance(box->text) / 600 * 25.4;
                EXPECT_LE(widthMm, box->rectMm.width()) << box->text.toStdString();
                ++texts;
            }
    EXPECT_GT(texts, 8 * 8);
}

// A month of many workers as the plant has it: no page of the summary by worker ends
// with a worker's name, and none after the first begins with a worker's total.
TEST_F(PeriodReportsTest, WorkerSummaryKeepsAWorkersNameAndTotalWithTheirItems)
{
    const RussianLocale russian;
    QStringList names;
    for (int w = 0; w < 36; ++w)
        names << QStringLiteral("Работник %1 И.И.").arg(w + 10);
    std::vector<Line> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(line(0, QStringLiteral("Изделие %1").arg(i + 1), QStringLiteral("Сборка")));
    for (int w = 0; w < names.size(); ++w) {
        const int worker = seed->worker(names[w]);
        for (int i = 0; i < 1 + (w * 7) % 4; ++i)
            for (int r = 0; r < 1 + (w + i) % 3; ++r)
                record(Line{worker, items[size_t(i)].item, items[size_t(i)].operation}, from.addDays(r), 5, 0, r);
    }
    const std::vector<QStringList> pages = pageTexts(print(kReports[0]));
    ASSERT_GT(pages.size(), 2u);
    const QRegularExpression workerTotal("^\\d+,\\d\\d$");
    for (size_t p = 0; p < pages.size(); ++p) {
        const QStringList& texts = pages[p];
        ASSERT_GE(texts.size(), 2);
        EXPECT_FALSE(names.contains(texts[texts.size() - 2])) << "page " << p + 1 << " ends with " << texts[texts.size() - 2].toStdString();
        if (p > 0) {
            EXPECT_FALSE(workerTotal.match(texts[0]).hasMatch()) << "page " << p + 1 << " begins with " << texts[0].toStdString();
        }
    }
}

TEST_F(PeriodReportsTest, EachLayoutWritesAPdfWithItsTextsReadable)
{
    const RussianLocale russian;
    seedSmallJournal();
    const struct {
        int report;
        QStringList texts;
    } cases[] = {
        {0, {"Отчет по рабочим за период с 01.02.2024 по 01.03.2024", "Иванов И.И.", "(грунт)", "(RAL: 5)", "Итого:"}},
        {1, {"Отчет по продукции за период с", "Коробки", "Количество", "Стулья", "Итого:"}},
        {2, {"Детальный отчет по рабочим", "Брак", "Петров П.П.", "Столы М", "Итого:"}},
        {3, {"Детальный отчет по продукции", "Кол-во", "Сумма", "Заготовки", "Итого:"}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(kReports[c.report].name));
        ASSERT_TRUE(report::writePdf(print(kReports[c.report]), pdf));
        const PdfContents read = readPdf(pdf);
        for (const QString& expected : c.texts)
            EXPECT_TRUE(read.text.contains(expected)) << kReports[c.report].name << ": " << expected.toStdString() << "\n"
                                                      << read.text.toStdString();
        EXPECT_TRUE(read.pageSize.contains(QRegularExpression("^595[.\\d]* x 84[12][.\\d]* pts \\(A4\\)")))
            << "A4 portrait: " << read.pageSize.toStdString();
    }
}

}  // namespace
