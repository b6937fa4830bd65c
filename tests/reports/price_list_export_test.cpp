#include "dataset.h"
#include "reports/excel_export.h"
#include "fake_seams.h"
#include "reports/price_list_export.h"
#include "russian_locale.h"
#include "seed.h"
#include "test_database.h"
#include "xlsx_reader.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Type = XlsxCell::Type;

class PriceListExportTest : public ::testing::Test {
protected:
    void SetUp() override { connection.open(db.odbcConnectionString()); }

    void setCenaNew(int operation, const QString& value)
    {
        db.exec(QStringLiteral("update accounts_dep.oper set cena_new = %1 where id = %2").arg(value).arg(operation));
    }

    TestDatabase db;
    Seed seed{db};
    FakeSeams fakes;
    Connection connection;
    Dataset XLS_Rep{connection, priceListSql()};
    ExcelExport excel;
};

TEST_F(PriceListExportTest, WritesEveryOperationWithItsOwnPriceUnderARussianLocale)
{
    const RussianLocale russian;
    const int frame = seed.item("Рама 2101");
    const int axle = seed.item("Ось");
    const int welding = seed.operationKind("Сварка");
    const int painting = seed.operationKind("Покраска");
    const int withNorm = seed.operation(frame, welding, 0, 10.0);  // lowest norm price 10
    setCenaNew(withNorm, "1234.5678");
    const int blanks = seed.operation(frame, welding, 1, -1);      // no norm row
    setCenaNew(blanks, "12.5");
    seed.operation(frame, painting, 0, -1);                        // no norm row, price 0
    const int noPrice = seed.operation(axle, painting, 1, -1);
    setCenaNew(noPrice, "null");                                   // no price at all reads 0

    exportPriceList(XLS_Rep, excel);

    EXPECT_TRUE(fakes.messages.shown.empty());
    EXPECT_FALSE(XLS_Rep.isOpen());
    ASSERT_EQ(fakes.spreadsheets.opened.size(), 1u);
    const XlsxFile book(fakes.spreadsheets.opened.front());
    struct Row {
        QString marka, vid;
        QString price;  // as stored in the file
        QString kind;
    };
    // Ordered by brand, kind name and product kind.
    const std::vector<Row> rows = {
        {"Ось", "Покраска", "0", "Заготовки"},
        {"Рама 2101", "Покраска", "0", "Готовая продукция"},
        {"Рама 2101", "Сварка", "1234.5678", "Готовая продукция"},
        {"Рама 2101", "Сварка", "12.5", "Заготовки"},
    };
    const QStringList header = {"Марка", "Операция", "Цена", "Вид"};
    for (int column = 1; column <= 4; ++column) {
        EXPECT_EQ(book.cell(1, column).value, header[column - 1]);
        EXPECT_EQ(book.cell(1, column).type, Type::SharedString);
        EXPECT_TRUE(book.cell(1, column).bold);  // a bold header, as in the timesheet export
        EXPECT_FALSE(book.cell(2, column).bold);
    }
    // Each column as wide as its widest text: 17 letters of "Готовая продукция".
    for (int column = 1; column <= 4; ++column)
        EXPECT_TRUE(book.columnWidths.count(column)) << column;
    EXPECT_GT(book.columnWidths.at(4), 14);
    EXPECT_LT(book.columnWidths.at(3), book.columnWidths.at(4));
    for (int i = 0; i < int(rows.size()); ++i) {
        SCOPED_TRACE(i + 2);
        const int row = i + 2;
        EXPECT_EQ(book.cell(row, 1).value, rows[i].marka);
        EXPECT_EQ(book.cell(row, 2).value, rows[i].vid);
        EXPECT_EQ(book.cell(row, 3).type, Type::Number);  // prices a user can add up
        EXPECT_EQ(book.cell(row, 3).value, rows[i].price);
        EXPECT_EQ(book.cell(row, 3).numberFormat, "General");
        EXPECT_EQ(book.cell(row, 4).value, rows[i].kind);
    }
    EXPECT_TRUE(book.cell(6, 1).value.isEmpty());
}

TEST_F(PriceListExportTest, WithoutASpreadsheetApplicationTheFileIsWrittenAndNamed)
{
    const int item = seed.item("Рама");
    seed.operation(item, seed.operationKind("Сварка"));
    fakes.spreadsheets.isAvailable = false;

    exportPriceList(XLS_Rep, excel);

    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const QString lead = QStringLiteral("Невозможно открыть Microsoft Excel.\nВыгрузка сохранена в файле:\n");
    const QString text = fakes.messages.shown[0].text;
    ASSERT_TRUE(text.startsWith(lead)) << text.toStdString();
    const QString path = text.mid(lead.size());
    EXPECT_EQ(XlsxFile(path).cell(2, 1).value, "Рама");
    QFile::remove(path);
    EXPECT_FALSE(XLS_Rep.isOpen());

    // The next export reads the operations as they are then.
    seed.operation(seed.item("Ось"), seed.operationKind("Покраска"), 0, -1);
    fakes.spreadsheets.isAvailable = true;
    exportPriceList(XLS_Rep, excel);
    ASSERT_EQ(fakes.spreadsheets.opened.size(), 1u);
    const XlsxFile book(fakes.spreadsheets.opened.front());
    EXPECT_EQ(book.cell(2, 1).value, "Ось");
    EXPECT_EQ(book.cell(3, 1).value, "Рама");
}

}  // namespace
