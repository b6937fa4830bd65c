#include "radio_group.h"
#include "reports/report_chooser.h"
#include "report_chooser_fixture.h"
#include "russian_locale.h"
#include "xlsx_reader.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

namespace {

using Type = XlsxCell::Type;

class ProductionExportTest : public ReportChooserTest {
protected:
    // Clicks "Excel" in the chooser, with the product kind chosen first when given.
    void exportFromChooser(int productKind = 0)
    {
        openChooser([&] {
            chooseProductKind(productKind);
            QTest::mouseClick(Form18->Button6, Qt::LeftButton);
            caption = Form18->Button6->text();
        });
    }

    std::unique_ptr<XlsxFile> workbook()
    {
        if (fakes->spreadsheets.opened.size() != 1) {
            ADD_FAILURE() << "expected one workbook, got " << fakes->spreadsheets.opened.size();
            return nullptr;
        }
        return std::make_unique<XlsxFile>(fakes->spreadsheets.opened.front());
    }

    // Row `row` of the sheet as its five texts.
    static QStringList rowTexts(const XlsxFile& book, int row)
    {
        QStringList texts;
        for (int column = 1; column <= 5; ++column)
            texts << book.cell(row, column).value;
        return texts;
    }

    QString caption;
};

TEST_F(ProductionExportTest, WritesThePeriodPerItemKindAndColourUnderARussianLocale)
{
    const RussianLocale russian;
    const int worker = seed->worker("Иванов И.И.");
    const Line tables = line(worker, "Столы", "Покраска");
    const Line chairs = line(worker, "Стулья", "Сборка", 1);
    record(tables, from, 10, 2, 1);          // the "from" date counts
    record(tables, from.addDays(3), 5, 0, 1);
    record(tables, from.addDays(4), 4, 0, 5);
    record(tables, from.addDays(5), 7);
    record(chairs, to.addDays(-1), 3);
    record(chairs, to, 100);                 // the "to" date does not
    record(chairs, from.addDays(-1), 100);

    exportFromChooser();

    EXPECT_TRUE(messageTexts().isEmpty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(caption, "Excel (4 из 4)");
    EXPECT_FALSE(Form18->XLS_Rep.isOpen());
    const auto book = workbook();
    ASSERT_TRUE(book);
    EXPECT_EQ(rowTexts(*book, 1), QStringList({"Наименование", "Операция", "Вид продукции", "Коробки", "Кол-во"}));
    // By item; within an item as the server groups it, so compared as a set.
    QStringList tableRows = {rowTexts(*book, 2).join('|'), rowTexts(*book, 3).join('|'), rowTexts(*book, 4).join('|')};
    tableRows.sort();
    EXPECT_EQ(tableRows, QStringList({"Столы|Покраска (грунт)|Готовая продукция|19.5|13",
                                      "Столы|Покраска (цвет: 5)|Готовая продукция|6|4",
                                      "Столы|Покраска|Готовая продукция|10.5|7"}));
    EXPECT_EQ(rowTexts(*book, 5), QStringList({"Стулья", "Сборка", "Заготовки", "4.5", "3"}));
    EXPECT_TRUE(book->cell(6, 1).value.isEmpty());
    // Numbers go as numbers a user can add up, the texts as texts.
    EXPECT_EQ(book->cell(5, 4).type, Type::Number);
    EXPECT_EQ(book->cell(5, 5).type, Type::Number);
    EXPECT_EQ(book->cell(5, 1).type, Type::SharedString);
    // As in the timesheet export the header is bold and each column as wide as its widest
    // text: 17 letters of "Готовая продукция", 18 of "Покраска (цвет: 5)".
    for (int column = 1; column <= 5; ++column) {
        EXPECT_TRUE(book->cell(1, column).bold) << column;
        EXPECT_FALSE(book->cell(2, column).bold) << column;
        EXPECT_TRUE(book->columnWidths.count(column)) << column;
    }
    EXPECT_GT(book->columnWidths.at(2), 15);
    EXPECT_GT(book->columnWidths.at(3), 14);
}

TEST_F(ProductionExportTest, QuantitiesAreRoundedHalvesToEven)
{
    // Plant databases keep fractional quantities.
    db->exec("alter table accounts_dep.smena alter column kol_vo type numeric(15, 3)");
    const int worker = seed->worker("Иванов И.И.");
    const struct {
        const char* nom;
        const char* quantity;
        const char* written;
    } cases[] = {{"А1", "2.5", "2"}, {"А2", "3.5", "4"}, {"А3", "2.501", "3"}, {"А4", "0.5", "0"}};
    for (const auto& c : cases) {
        const int id = record(line(worker, c.nom, "Сборка"), from, 1);
        db->exec(QStringLiteral("update accounts_dep.smena set kol_vo = %1 where id = %2").arg(c.quantity).arg(id));
    }

    exportFromChooser();

    const auto book = workbook();
    ASSERT_TRUE(book);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(book->cell(i + 2, 5).value, cases[i].written) << cases[i].quantity;
}

TEST_F(ProductionExportTest, EmptyPeriodGivesTheHeaderOnly)
{
    record(line(seed->worker("Иванов И.И."), "Столы", "Сборка"), to, 5);

    exportFromChooser();

    EXPECT_EQ(caption, "Excel (0 из 0)");
    const auto book = workbook();
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(1, 5).value, "Кол-во");
    EXPECT_TRUE(book->cell(2, 1).value.isEmpty());
}

TEST_F(ProductionExportTest, ProductKindChoiceLimitsTheRowsAndTheCount)
{
    const int worker = seed->worker("Иванов И.И.");
    record(line(worker, "Столы", "Сборка", 0), from, 5);
    record(line(worker, "Стулья", "Сборка", 1), from, 6);
    record(line(worker, "Шкафы", "Сборка", 1), from, 7);

    exportFromChooser(2);  // "Заготовки"

    EXPECT_EQ(caption, "Excel (2 из 2)");
    const auto book = workbook();
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(2, 1).value, "Стулья");
    EXPECT_EQ(book->cell(3, 1).value, "Шкафы");
    EXPECT_TRUE(book->cell(4, 1).value.isEmpty());
}

TEST_F(ProductionExportTest, WithoutASpreadsheetApplicationTheFileIsNamedAndTheNextExportReadsThePeriodChosenThen)
{
    const int worker = seed->worker("Иванов И.И.");
    record(line(worker, "Февраль", "Сборка"), from, 5);
    record(line(worker, "Март", "Сборка"), to, 6);
    fakes->spreadsheets.isAvailable = false;
    openChooser([&] {
        QTest::mouseClick(Form18->Button6, Qt::LeftButton);
        EXPECT_FALSE(Form18->XLS_Rep.isOpen());
        EXPECT_EQ(Form18->Button6->text(), "Excel (1 из 1)");
        fakes->spreadsheets.isAvailable = true;
        typeDate(Form18->DTPicker1, "01.03.2024");
        typeDate(Form18->DTPicker2, "01.04.2024");
        QTest::mouseClick(Form18->Button6, Qt::LeftButton);
    });
    ASSERT_EQ(fakes->messages.shown.size(), 1u);
    const QString lead = "Невозможно открыть Microsoft Excel.\nВыгрузка сохранена в файле:\n";
    const QString text = fakes->messages.shown[0].text;
    ASSERT_TRUE(text.startsWith(lead)) << text.toStdString();
    const QString written = text.mid(lead.size());
    EXPECT_EQ(XlsxFile(written).cell(2, 1).value, "Февраль");
    QFile::remove(written);
    const auto book = workbook();
    ASSERT_TRUE(book);
    EXPECT_EQ(book->cell(2, 1).value, "Март");
    EXPECT_TRUE(book->cell(3, 1).value.isEmpty());
}

}  // namespace
