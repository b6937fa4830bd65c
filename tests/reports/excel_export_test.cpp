#include "reports/excel_export.h"
#include "fake_seams.h"
#include "number_text.h"
#include "russian_locale.h"
#include "xlsx_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Type = XlsxCell::Type;

class ExcelExportTest : public ::testing::Test {
protected:
    // Hands the workbook over and reads back the file the spreadsheet application got.
    std::unique_ptr<XlsxFile> shownWorkbook()
    {
        const auto before = fakes.spreadsheets.opened.size();
        EXPECT_EQ(excel.ShowExcel(true), 1);
        if (fakes.spreadsheets.opened.size() != before + 1) {
            ADD_FAILURE() << "no workbook was handed over";
            return nullptr;
        }
        return std::make_unique<XlsxFile>(fakes.spreadsheets.opened.back());
    }

    QStringList messageTexts() const { return fakes.messages.texts(); }

    FakeSeams fakes;
    ExcelExport excel;
};

// What a spreadsheet application makes of typed text, under a Russian desktop.
TEST_F(ExcelExportTest, TextsThatReadAsNumbersBecomeNumbersWrittenWithAFullStop)
{
    const RussianLocale russian;
    struct Case {
        QString typed;
        Type type;
        QString stored;
    };
    const std::vector<Case> cases = {
        {"12,5", Type::Number, "12.5"},          // the user's decimal comma
        {"1234.56", Type::Number, "1234.56"},    // a full stop reads as well
        {"-0,125", Type::Number, "-0.125"},
        {"10", Type::Number, "10"},
        {"12,5 руб.", Type::SharedString, "12,5 руб."},
        {"inf", Type::SharedString, "inf"},
        {"nan", Type::SharedString, "nan"},
        {"Рама \"Ёж\" <№1> & 'Ко'", Type::SharedString, "Рама \"Ёж\" <№1> & 'Ко'"},
    };
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    for (int i = 0; i < int(cases.size()); ++i)
        EXPECT_EQ(excel.WriteCell(1, 1, i + 1, cases[i].typed, true), 1);  // the flag changes nothing

    const auto book = shownWorkbook();
    ASSERT_TRUE(book);
    for (int i = 0; i < int(cases.size()); ++i) {
        SCOPED_TRACE(cases[i].typed.toStdString());
        const XlsxCell cell = book->cell(i + 1, 1);
        EXPECT_EQ(cell.type, cases[i].type);
        EXPECT_EQ(cell.value, cases[i].stored);
        EXPECT_EQ(cell.numberFormat, "General");
        EXPECT_FALSE(cell.bold);
    }
    EXPECT_FALSE(book->sheetXml.contains("1234,56"));
    EXPECT_EQ(book->sheetNames, QStringList{"Лист1"});
    EXPECT_EQ(RussianLocale::numericLocale(), "ru_RU.UTF-8") << "the user's numeric locale must come back";
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ExcelExportTest, FormattedWriteGivesTextFormatBoldAndFittedColumns)
{
    const RussianLocale russian;
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    //                       sheet col row text                      as-text auto-fit bold
    excel.WriteCellFormatted(1, 1, 1, "Фамилия И.О.", true, true, true);
    excel.WriteCellFormatted(1, 1, 2, "Константинопольский К.К.", true, true, false);
    excel.WriteCellFormatted(1, 2, 1, "007", true, true, true);       // stays text
    excel.WriteCellFormatted(1, 2, 2, "8,5", false, true, false);     // a number
    excel.WriteCellFormatted(1, 3, 2, "168", false, false, true);     // bold number, column not fitted
    // A cell in the text format keeps a later number as text, as the application does.
    excel.WriteCellFormatted(1, 4, 1, "Итого", true, false, false);
    excel.WriteCellFormatted(1, 4, 1, "42", false, false, false);

    const auto book = shownWorkbook();
    ASSERT_TRUE(book);
    struct Expected {
        int row, column;
        Type type;
        QString value;
        QString format;
        bool bold;
    };
    const std::vector<Expected> expected = {
        {1, 1, Type::SharedString, "Фамилия И.О.", "@", true},
        {2, 1, Type::SharedString, "Константинопольский К.К.", "@", false},
        {1, 2, Type::SharedString, "007", "@", true},
        {2, 2, Type::Number, "8.5", "General", false},
        {2, 3, Type::Number, "168", "General", true},
        {1, 4, Type::SharedString, "42", "@", false},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(XlsxFile::reference(e.row, e.column).toStdString());
        const XlsxCell cell = book->cell(e.row, e.column);
        EXPECT_EQ(cell.type, e.type);
        EXPECT_EQ(cell.value, e.value);
        EXPECT_EQ(cell.numberFormat, e.format);
        EXPECT_EQ(cell.bold, e.bold);
    }
    // Fitted to the longest text: 24 letters take far more than the 8.43 of a plain column,
    // three digits less; columns 3 and 4 keep the default width.
    ASSERT_TRUE(book->columnWidths.count(1) && book->columnWidths.count(2));
    EXPECT_GT(book->columnWidths.at(1), 18);
    EXPECT_LT(book->columnWidths.at(1), 36);
    EXPECT_LT(book->columnWidths.at(2), 8.43);
    EXPECT_FALSE(book->columnWidths.count(3) || book->columnWidths.count(4));
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(ExcelExportTest, EmptyTextsWriteNothingAndNeedNoWorkbook)
{
    EXPECT_EQ(excel.WriteCell(7, 1, 1, QString(), true), 1);
    EXPECT_EQ(excel.WriteCellFormatted(7, 1, 1, QString(), true, true, true), 1);
    EXPECT_EQ(excel.ShowExcel(true), 1);  // nothing opened yet: nothing to show
    EXPECT_TRUE(messageTexts().isEmpty());
    EXPECT_TRUE(fakes.spreadsheets.opened.empty());

    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    excel.WriteCell(1, 1, 1, "Марка", true);
    excel.WriteCell(1, 1, 1, QString(), true);  // the cell keeps its text
    const auto book = shownWorkbook();
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(1, 1).value, "Марка");
    EXPECT_EQ(book->cells.size(), 1u);
}

TEST_F(ExcelExportTest, WritesOutsideTheWorkbookAreReportedWithTheirAddress)
{
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    struct Case {
        int sheet, column, row;
        QString message;
    };
    const std::vector<Case> cases = {
        {2, 3, 4, "Ошибочный номер листа Microsoft Excel: Ошибка при записи: лист 2, столбец 3, строка 4"},
        {0, 1, 1, "Ошибочный номер листа Microsoft Excel: Ошибка при записи: лист 0, столбец 1, строка 1"},
        {1, 0, 5, "Ошибка Microsoft Excel: Ошибка при записи: лист 1, столбец 0, строка 5"},
        {1, 2, 1048577, "Ошибка Microsoft Excel: Ошибка при записи: лист 1, столбец 2, строка 1048577"},
        {1, 16385, 1, "Ошибка Microsoft Excel: Ошибка при записи: лист 1, столбец 16385, строка 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        fakes.messages.shown.clear();
        EXPECT_EQ(excel.WriteCell(c.sheet, c.column, c.row, "x", false), -1);
        EXPECT_EQ(excel.WriteCellFormatted(c.sheet, c.column, c.row, "x", true, true, true), -1);
        EXPECT_EQ(messageTexts(), QStringList({c.message, c.message}));
    }
    fakes.messages.shown.clear();
    EXPECT_EQ(excel.WriteCell(1, 1, 1, QString(32768, QChar('a')), false), -1);
    EXPECT_EQ(messageTexts(), QStringList{"Ошибка Microsoft Excel: Ошибка при записи: лист 1, столбец 1, строка 1"});

    const auto book = shownWorkbook();
    ASSERT_TRUE(book);
    EXPECT_TRUE(book->cells.empty());
}

// The file an error box names after "Невозможно открыть Microsoft Excel.", empty when it
// names none.
QString fileNamedIn(const QString& message)
{
    const QString lead = QStringLiteral("Невозможно открыть Microsoft Excel.\nВыгрузка сохранена в файле:\n");
    return message.startsWith(lead) ? message.mid(lead.size()) : QString();
}

TEST_F(ExcelExportTest, WithoutASpreadsheetApplicationTheWorkbookIsWrittenAndItsFileNamed)
{
    fakes.spreadsheets.isAvailable = false;
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    EXPECT_EQ(excel.WriteCell(1, 1, 1, "x", true), 1);
    EXPECT_EQ(excel.ShowExcel(true), -1);
    EXPECT_TRUE(fakes.spreadsheets.opened.empty());
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].caption, "Ошибка");
    const QString path = fileNamedIn(fakes.messages.shown[0].text);
    ASSERT_TRUE(QFileInfo::exists(path)) << fakes.messages.shown[0].text.toStdString();
    EXPECT_EQ(XlsxFile(path).cell(1, 1).value, "x");
    QFile::remove(path);
}

TEST_F(ExcelExportTest, AnExistingFileCannotBeOpened)
{
    EXPECT_EQ(excel.OpenExcel("/tmp/prices.xlsx"), -1);
    EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Ошибка открытия файла Microsoft Excel."});
}

TEST_F(ExcelExportTest, EachShownWorkbookIsAFreshFileHandedOverOnce)
{
    fakes.clock = QDateTime(QDate(2026, 12, 10), QTime(14, 30, 5));
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    EXPECT_EQ(excel.ShowExcel(false), 1);  // hidden while it is filled
    excel.WriteCell(1, 1, 1, "первая", true);
    EXPECT_TRUE(fakes.spreadsheets.opened.empty());
    const auto first = shownWorkbook();
    EXPECT_EQ(excel.ShowExcel(true), 1);  // already the user's: not handed over again
    ASSERT_EQ(fakes.spreadsheets.opened.size(), 1u);

    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    excel.WriteCell(1, 1, 1, "вторая", true);
    const auto second = shownWorkbook();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->cell(1, 1).value, "первая");
    EXPECT_EQ(second->cell(1, 1).value, "вторая");

    const QFileInfo file(fakes.spreadsheets.opened[0]);
    EXPECT_NE(fakes.spreadsheets.opened[0], fakes.spreadsheets.opened[1]);
    EXPECT_EQ(file.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(file.fileName().startsWith("Табель, выгрузка 2026-12-10 14-30-05 ")) << file.fileName().toStdString();
    EXPECT_EQ(file.suffix(), "xlsx");
}

TEST_F(ExcelExportTest, AnApplicationThatDoesNotStartIsReported)
{
    fakes.spreadsheets.startSucceeds = false;
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    excel.WriteCell(1, 1, 1, "x", true);
    EXPECT_EQ(excel.ShowExcel(true), -1);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fileNamedIn(fakes.messages.shown[0].text), QDir::toNativeSeparators(fakes.spreadsheets.opened.at(0)));
}

TEST_F(ExcelExportTest, AWorkbookThatCannotBeSavedIsReportedAndNotHandedOver)
{
    ASSERT_EQ(excel.OpenExcel(QString()), 1);
    excel.WriteCell(1, 1, 1, "x", true);
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", "/proc");  // a folder where no file can be made, even by root
    EXPECT_EQ(excel.ShowExcel(true), -1);
    if (savedTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTemp);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].caption, "Ошибка Microsoft Excel");
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith("Ошибка сохранения книги: ")) << fakes.messages.shown[0].text.toStdString();
    EXPECT_TRUE(fakes.spreadsheets.opened.empty());
}

TEST(NumberText, GeneralFormatInTheUsersLocale)
{
    const RussianLocale russian;
    EXPECT_EQ(numberText(12.5), "12,5");
    EXPECT_EQ(numberText(1234567.125), "1234567,125");
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(0.1 + 0.2), "0,3");  // 15 significant digits
}

}  // namespace
