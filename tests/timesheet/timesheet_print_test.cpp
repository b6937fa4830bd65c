#include "data_module.h"
#include "golden_file.h"
#include "pdf_reader.h"
#include "report_renderer.h"
#include "russian_locale.h"
#include "timesheet_fixture.h"
#include "timesheet/timesheet_layout.h"
#include "timesheet/timesheet_window.h"
#include "xlsx_reader.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <map>

namespace {

// One worker's line of the printed timesheet, read under the day numbers of the header.
struct PrintedLine {
    QString fio;
    std::array<QString, 31> days;
    QString total;
};

struct PrintedPage {
    QString title;
    QStringList headings;  // the texts of the header after the title
    std::vector<PrintedLine> lines;
    QString pageNumber;
};

bool near(double a, double b) { return std::abs(a - b) < 0.01; }

PrintedPage readPage(const report::PreparedPage& page)
{
    PrintedPage printed;
    std::map<double, int> dayAt;  // left edge → day, from the header
    double totalLeft = 0;
    std::map<double, PrintedLine> lines;  // by their top
    for (const report::Primitive& primitive : page.primitives) {
        const auto* box = std::get_if<report::TextBox>(&primitive);
        if (!box)
            continue;
        const QRectF r = box->rectMm;
        if (near(r.top(), 10)) {
            if (near(r.left(), 10))
                printed.title = box->text;
            else
                printed.headings << box->text;
            if (box->text == "Итого")
                totalLeft = r.left();
            else if (!near(r.left(), 10))
                dayAt[r.left()] = box->text.toInt();
        } else if (r.top() >= 210 - 10 - 4.5 - 0.01) {  // the page footer
            printed.pageNumber = box->text;
        } else {
            PrintedLine& line = lines[r.top()];
            if (near(r.left(), 10))
                line.fio = box->text;
            else if (near(r.left(), totalLeft))
                line.total = box->text;
            else
                for (const auto& [left, day] : dayAt)
                    if (near(left, r.left()))
                        line.days[size_t(day - 1)] = box->text;
        }
    }
    for (auto& [top, line] : lines)
        printed.lines.push_back(line);
    return printed;
}

class TimesheetPrintTest : public TimesheetFixture {
protected:
    void SetUp() override
    {
        TimesheetFixture::SetUp();
        Form19->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form19));
    }
    void TearDown() override
    {
        Form19->hide();
        TimesheetFixture::TearDown();
    }

    // Presses "Печать" on the month and returns what the preview got.
    const report::PreparedReport& print(int month, int year)
    {
        loadMonth(month, year);
        const size_t before = fakes->previews.size();
        QTest::mouseClick(Form19->Button6, Qt::LeftButton);
        EXPECT_EQ(fakes->previews.size(), before + 1) << "one preview";
        EXPECT_FALSE(Form15->H_Tabel.isOpen()) << "the query is closed after the preview";
        return fakes->previews.back();
    }

    PrintedPage printPage(int month, int year) { return readPage(print(month, year).pages.at(0)); }

    // Presses "Excel" on the month and reads the workbook the spreadsheet application got.
    std::unique_ptr<XlsxFile> exportMonth(int month, int year)
    {
        loadMonth(month, year);
        const size_t before = fakes->spreadsheets.opened.size();
        QTest::mouseClick(Form19->Button2, Qt::LeftButton);
        EXPECT_FALSE(Form15->H_Tabel.isOpen());
        if (fakes->spreadsheets.opened.size() != before + 1) {
            ADD_FAILURE() << "no workbook was handed over";
            return nullptr;
        }
        return std::make_unique<XlsxFile>(fakes->spreadsheets.opened.back());
    }

    // Two workers of December 2026 with hours in several shifts.
    void december()
    {
        const int ivanov = seed->worker("Иванов И.И.");
        const int petrov = seed->worker("Петров П.П.");
        timesheetRow(ivanov, 1, 12, 2026, {{1, 8}, {2, 8}, {5, 8}});
        timesheetRow(ivanov, 4, 12, 2026, {{5, 3}});
        timesheetRow(petrov, 2, 12, 2026, {{3, 7}, {31, 12}});
    }
};

TEST_F(TimesheetPrintTest, HoursOfAllShiftsOvertimeIncludedAreAddedPerDay)
{
    december();
    const PrintedPage page = printPage(12, 2026);
    ASSERT_EQ(page.lines.size(), 2u);
    const PrintedLine& ivanov = page.lines[0];
    EXPECT_EQ(ivanov.fio, "Иванов И.И.");
    EXPECT_EQ(ivanov.days[0], "8");
    EXPECT_EQ(ivanov.days[4], "11");
    EXPECT_EQ(ivanov.days[2], "") << "a day without hours is blank";
    EXPECT_EQ(ivanov.total, "27");
    EXPECT_EQ(page.lines[1].fio, "Петров П.П.");
    EXPECT_EQ(page.lines[1].days[30], "12");
    EXPECT_EQ(page.lines[1].total, "19");

    const auto book = exportMonth(12, 2026);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(3, 1).value, "Иванов И.И.");
    EXPECT_EQ(book->cell(3, 6).value, "11");
    EXPECT_EQ(book->cell(3, 6).type, XlsxCell::Type::Number);
    EXPECT_EQ(book->cell(3, 4).value, "0") << "an empty day is written as 0";
    EXPECT_EQ(book->cell(3, 33).value, "27");
    EXPECT_EQ(book->cell(4, 32).value, "12");
    EXPECT_EQ(book->cell(4, 33).value, "19");
    EXPECT_FALSE(book->cell(3, 1).bold);
}

// The three grids as read for a month: name, hours and pay of every row.
QStringList gridRows()
{
    QStringList rows;
    for (int shift = 1; shift <= 3; ++shift) {
        Dataset& grid = DataModule6->timesheetQuery(shift);
        for (grid.first(); !grid.eof(); grid.next())
            rows << QStringLiteral("%1 %2 %3 %4")
                        .arg(shift)
                        .arg(grid.fieldByName("fio").asString(), grid.fieldByName("summ").asString(),
                             grid.fieldByName("cena_all").asString());
    }
    return rows;
}

// The program on a database whose ERP indexes its person codes as numbers (as the ERP
// does, and the grids and the print then find their persons through that index) or does not
// (where any text may be a code).
class ErpPersonCodesTest : public TimesheetPrintTest, public ::testing::WithParamInterface<bool> {
protected:
    bool indexed() const { return GetParam(); }
    void prepareDatabase() override
    {
        if (!indexed())
            db->exec("drop index cmn_contractor.person_s_code_t_id");
    }
};

// Persons of the ERP whose code is no worker's key written as an integer are no workers:
// a supplier's code beyond the integer range, a code with a fraction, and where the index
// allows it letters. The grids, "Перестроить" and the print show what they show without them,
// whichever way the persons are found.
TEST_P(ErpPersonCodesTest, CodesThatAreNoIntegerKeyChangeNoGridNorPrintedNumber)
{
    EXPECT_EQ(DataModule6->PersonCodesIndexed, indexed());
    const int ivanov = seed->worker("Иванов И.И.");
    const int petrov = seed->worker("Петров П.П.");
    record(ivanov, QDate(2026, 12, 1), 1, 8);
    record(ivanov, QDate(2026, 12, 2), 2, 4, 12.5);
    record(petrov, QDate(2026, 12, 3), 3, 7, 9.75, 6, 1);
    loadMonth(12, 2026);
    QTest::mouseClick(Form19->Button1, Qt::LeftButton);  // "Перестроить"
    const QStringList grids = gridRows();
    const QStringList printed = report::describe(print(12, 2026));
    ASSERT_EQ(grids.size(), 3);

    db->exec("insert into cmn_contractor.person (s_caption, s_code) values ('Поставщик', '9876543210')");
    db->exec(QStringLiteral("insert into cmn_contractor.person (s_caption, s_code) values ('Дробный', '%1.0')").arg(ivanov));
    if (!indexed())
        db->exec("insert into cmn_contractor.person (s_caption, s_code) values ('Склад', 'П-17')");
    loadMonth(12, 2026);
    EXPECT_EQ(gridRows(), grids);
    QTest::mouseClick(Form19->Button1, Qt::LeftButton);  // "Перестроить"
    EXPECT_EQ(gridRows(), grids);
    EXPECT_EQ(report::describe(print(12, 2026)), printed);
    EXPECT_TRUE(fakes->messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutTheErpIndex, ErpPersonCodesTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Indexed") : std::string("NotIndexed");
                         });

TEST_F(TimesheetPrintTest, WorkersOfTheSameNameAreOneLine)
{
    const int first = seed->worker("Сидоров С.С.");
    const int second = seed->worker("Сидоров С.С.");
    timesheetRow(first, 1, 3, 2026, {{2, 8}});
    timesheetRow(second, 3, 3, 2026, {{2, 4}, {3, 8}});
    const PrintedPage page = printPage(3, 2026);
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].days[1], "12");
    EXPECT_EQ(page.lines[0].total, "20");
    const auto book = exportMonth(3, 2026);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(3, 3).value, "12");
    EXPECT_EQ(book->cell(4, 1).type, XlsxCell::Type::Other) << "no second line";
}

TEST_F(TimesheetPrintTest, FebruaryHasAllThirtyOneDayColumnsBlankInPrintAndZeroInTheSpreadsheet)
{
    const int ivanov = seed->worker("Иванов И.И.");
    timesheetRow(ivanov, 1, 2, 2026, {{28, 8}});
    const PrintedPage page = printPage(2, 2026);
    QStringList days;
    for (int day = 1; day <= 31; ++day)
        days << QString::number(day);
    EXPECT_EQ(page.headings, days + QStringList{"Итого"});
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].days[27], "8");
    for (int day = 29; day <= 31; ++day)
        EXPECT_EQ(page.lines[0].days[size_t(day - 1)], "") << day;

    const auto book = exportMonth(2, 2026);
    ASSERT_TRUE(book);
    for (int day = 1; day <= 31; ++day) {
        EXPECT_EQ(book->cell(2, day + 1).value, QString::number(day));
        EXPECT_TRUE(book->cell(2, day + 1).bold);
    }
    for (int day = 29; day <= 31; ++day)
        EXPECT_EQ(book->cell(3, day + 1).value, "0") << day;
    EXPECT_EQ(book->cell(2, 1).value, "Фамилия И.О.");
    EXPECT_EQ(book->cell(2, 33).value, "Итого");
}

TEST_F(TimesheetPrintTest, AnEmptyMonthGivesAPageAndAWorkbookOfTheHeadingsOnly)
{
    const report::PreparedReport& report = print(7, 2026);
    ASSERT_EQ(report.pages.size(), 1u);
    const PrintedPage page = readPage(report.pages[0]);
    EXPECT_EQ(page.title, "Июль 2026 г.");
    EXPECT_EQ(page.headings.size(), 32);
    EXPECT_TRUE(page.lines.empty());
    EXPECT_EQ(page.pageNumber, "1");

    const auto book = exportMonth(7, 2026);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(1, 1).value, "Июль 2026");
    EXPECT_EQ(book->cell(2, 1).value, "Фамилия И.О.");
    EXPECT_EQ(book->cell(3, 1).type, XlsxCell::Type::Other);
    EXPECT_EQ(Form19->Button2->text(), "Excel (0 из 0)");
}

TEST_F(TimesheetPrintTest, ThePrintedTitleEndsWithTheYearMarkAndTheSpreadsheetTitleDoesNot)
{
    const int ivanov = seed->worker("Иванов И.И.");
    timesheetRow(ivanov, 1, 5, 2026, {{4, 8}});
    EXPECT_EQ(printPage(5, 2026).title, "Май 2026 г.");
    EXPECT_EQ(fakes->previews.back().title, "Табель по времени, Май 2026 г.");
    const auto book = exportMonth(5, 2026);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(1, 1).value, "Май 2026");
    EXPECT_EQ(book->cell(1, 1).type, XlsxCell::Type::SharedString);
    EXPECT_TRUE(book->cell(1, 1).bold);
    EXPECT_EQ(Form19->Button2->text(), "Excel (1 из 1)");
}

TEST_F(TimesheetPrintTest, TheHeaderIsRepeatedOnEveryPageAndThePagesAreNumbered)
{
    for (int n = 1; n <= 40; ++n)
        timesheetRow(seed->worker(QStringLiteral("Работник %1").arg(n, 2, 10, QLatin1Char('0'))), 1, 4, 2026, {{1, n % 12}});
    const report::PreparedReport& report = print(4, 2026);
    ASSERT_EQ(report.pages.size(), 2u);
    const PrintedPage first = readPage(report.pages[0]);
    const PrintedPage second = readPage(report.pages[1]);
    EXPECT_EQ(second.title, "Апрель 2026 г.");
    EXPECT_EQ(second.headings, first.headings);
    EXPECT_EQ(first.lines.size() + second.lines.size(), 40u);
    EXPECT_EQ(second.lines.front().fio, QStringLiteral("Работник %1").arg(first.lines.size() + 1, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(first.pageNumber, "1");
    EXPECT_EQ(second.pageNumber, "2");
}

// The prepared pages of December, one line per primitive, against the reference file.
TEST_F(TimesheetPrintTest, ThePreparedPagesMatchTheReferenceFile)
{
    const RussianLocale russian;
    december();
    expectGoldenFile(report::describe(print(12, 2026)), QStringLiteral(TIMESHEET_REFERENCE));
}

TEST_F(TimesheetPrintTest, ThePdfOfThePreviewReadsBackWithItsCyrillicOnALandscapePage)
{
    december();
    const report::PreparedReport& report = print(12, 2026);
    QTemporaryDir folder;
    const QString path = folder.filePath("табель.pdf");
    ASSERT_TRUE(report::writePdf(report, path));
    const PdfContents pdf = readPdf(path);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_TRUE(pdf.pageSize.endsWith("(A4)")) << pdf.pageSize.toStdString();
    EXPECT_GT(pdf.widthPts, pdf.heightPts);
    for (const char* text : {"Декабрь 2026 г.", "Иванов И.И.", "Петров П.П.", "Итого", "27"})
        EXPECT_TRUE(pdf.text.contains(QString::fromUtf8(text))) << text << "\n" << pdf.text.toStdString();
}

TEST_F(TimesheetPrintTest, AnExportWithoutASpreadsheetApplicationClosesItsQuerySoTheNextPrintShowsTheSelectedMonth)
{
    const int ivanov = seed->worker("Иванов И.И.");
    const int petrov = seed->worker("Петров П.П.");
    timesheetRow(ivanov, 1, 11, 2026, {{2, 8}});
    timesheetRow(petrov, 1, 12, 2026, {{3, 8}});
    fakes->spreadsheets.isAvailable = false;
    loadMonth(11, 2026);
    QTest::mouseClick(Form19->Button2, Qt::LeftButton);
    // The workbook is still written; the one message says where.
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].startsWith("Ошибка: Невозможно открыть Microsoft Excel.\nВыгрузка сохранена в файле:"));
    EXPECT_FALSE(Form15->H_Tabel.isOpen());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the default cursor again";
    EXPECT_TRUE(Form19->Button2->isEnabled());

    const PrintedPage page = printPage(12, 2026);
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].fio, "Петров П.П.");
}

TEST_F(TimesheetPrintTest, AnExportRunningCannotBeStartedAgainNorAPrintBeStartedBesideIt)
{
    december();
    loadMonth(12, 2026);
    std::vector<bool> enabledWhileRunning;
    QStringList captions;
    // Clicks that arrive while the rows are written (the export lets window messages through).
    QTimer::singleShot(0, Form19, [&] {
        captions << Form19->Button2->text();
        for (QPushButton* button : {Form19->Button1, Form19->Button2, Form19->Button5, Form19->Button6})
            enabledWhileRunning.push_back(button->isEnabled());
        QTest::mouseClick(Form19->Button2, Qt::LeftButton);
        QTest::mouseClick(Form19->Button6, Qt::LeftButton);
    });
    QTest::mouseClick(Form19->Button2, Qt::LeftButton);
    EXPECT_EQ(enabledWhileRunning, std::vector<bool>(4, false));
    EXPECT_EQ(captions, QStringList{"Excel (0 из 2)"});
    EXPECT_EQ(fakes->spreadsheets.opened.size(), 1u);
    EXPECT_TRUE(fakes->previews.empty());
    EXPECT_EQ(Form19->Button2->text(), "Excel (2 из 2)");
    for (QPushButton* button : {Form19->Button1, Form19->Button2, Form19->Button5, Form19->Button6})
        EXPECT_TRUE(button->isEnabled());
}

}  // namespace
