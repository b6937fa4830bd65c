#include "data_module.h"
#include "reference/items_window.h"
#include "app/journal_window.h"
#include "reference/kinds_window.h"
#include "list_test_support.h"
#include "reference/norms_window.h"
#include "reference/operation_editor.h"
#include "reference/operations_window.h"
#include "xlsx_reader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace list_test;

namespace {

class OperationsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        table = seed->item("Стол 100%");
        chair = seed->item("Стул С-2");
        assembly = seed->operationKind("Сборка");
        painting = seed->operationKind("Покраска");
        tableAssembly = seed->operation(table, assembly, 0, 12.5);
        seed->norm(tableAssembly, 50, 10.0);
        chairPainting = seed->operation(chair, painting, 1, 7.0);
    }

    // Fills the operation editor through its two pickers, choosing the first row each
    // list shows for `item` and `kind`.
    void pickInEditor(const QString& item, const QString& kind, int productKind)
    {
        fakes->modalActions.push_back(whileShown([item](QDialog&) {
            type(*Form3, item);
            Form3->Button2->click();
        }));
        Form10->Button3->click();
        fakes->modalActions.push_back(whileShown([kind](QDialog&) {
            type(*Form8, kind);
            Form8->Button2->click();
        }));
        Form10->Button4->click();
        Form10->ComboBox1->setCurrentIndex(productKind);
    }

    int table = 0, chair = 0, assembly = 0, painting = 0, tableAssembly = 0, chairPainting = 0;
};

TEST_F(OperationsTest, PickerHandsTheShiftPriceAndTextToTheShiftRecordEditor)
{
    std::vector<PickedOperation> picked;
    Form4->setReceiver([&](const PickedOperation& p) { picked.push_back(p); });
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_EQ(current(*Form4), "Стул С-2");  // opened on the operation being changed
        type(*Form4, "100%");
        EXPECT_EQ(column(*Form4), QStringList({"Стол 100%"}));
        QTest::keyClick(Form4->Edit1, Qt::Key_Return);
    }));
    Form4->showAsPicker(chairPainting, true, 3);  // a day off, shift 3
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0].operationId, tableAssembly);
    EXPECT_EQ(picked[0].itemId, table);
    EXPECT_EQ(picked[0].productKind, 0);
    EXPECT_DOUBLE_EQ(picked[0].price, 24);  // lowest norm 10, day off, shift 3
    EXPECT_EQ(picked[0].text, "Стол 100%; Сборка; Готовая продукция");
    EXPECT_FALSE(DataModule6->Oper.filtered());
    EXPECT_FALSE(Form4->Edit1->isVisibleTo(Form4));

    // A search that finds nothing hands nothing back.
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        type(*Form4, "Шкаф");
        Form4->Button2->click();
    }));
    Form4->showAsPicker(0, false, 1);
    EXPECT_EQ(picked.size(), 1u);
}

TEST_F(OperationsTest, SearchFindsBrandsContainingTheTextLiterally)
{
    const struct {
        const char* typed;
        QStringList listed;
    } cases[] = {{"С-2", {"Стул С-2"}}, {"ТО", {"Стол 100%"}}, {"0%", {"Стол 100%"}}, {"_", {}}, {"   ", {"Стол 100%", "Стул С-2"}}};
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        for (const auto& c : cases) {
            Form4->Edit1->clear();
            type(*Form4, QString::fromUtf8(c.typed));
            EXPECT_EQ(column(*Form4), c.listed) << c.typed;
        }
    }));
    Form4->showAsPicker(0, false, 1);
}

TEST_F(OperationsTest, ANewOperationGetsItsFirstNormAndThenShowsInTheList)
{
    throughMenu(*fakes, Form1->N5, [&] {
        EXPECT_EQ(column(*Form4), QStringList({"Стол 100%", "Стул С-2"}));
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            pickInEditor("Стул", "Сбор", 1);
            // The norms window opens for the new operation; its first norm is typed there.
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                auto* model = Form22->DBGrid1->model();
                EXPECT_EQ(model->rowCount(), 1);
                Form22->DBGrid1->setCurrentIndex(model->index(0, 0));
                model->setData(model->index(0, 0), "20", Qt::EditRole);
                Form22->DBGrid1->setCurrentIndex(model->index(0, 1));
                model->setData(model->index(0, 1), "8.5", Qt::EditRole);
                Form22->Button1->click();
            }));
            Form10->Button1->click();
        }));
        Form4->Button1->click();
        EXPECT_EQ(fakes->modalShown.back(), "Form22");
        EXPECT_EQ(column(*Form4, 1), QStringList({"Сборка", "Покраска", "Сборка"}));
        EXPECT_EQ(current(*Form4, 0), "Стул С-2");
        EXPECT_EQ(current(*Form4, 1), "Сборка");
        EXPECT_EQ(current(*Form4, 2), "8.5");
    });
    EXPECT_EQ(db->count("select count(*) from accounts_dep.oper where cena_new = 0"), 3);
}

TEST_F(OperationsTest, AnOperationLeftWithoutNormsLeadsBackToItsNormsInsteadOfARefusal)
{
    throughMenu(*fakes, Form1->N5, [&] {
        for (int attempt = 0; attempt < 2; ++attempt) {
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                pickInEditor("Стол", "Покр", 0);
                fakes->modalActions.push_back(whileShown([](QDialog&) {}));  // norms closed without a norm
                Form10->Button1->click();
                EXPECT_FALSE(Form10->isVisible());
            }));
            Form4->Button1->click();
            EXPECT_EQ(fakes->modalShown.back(), "Form22");
        }
    });
    EXPECT_TRUE(fakes->messages.shown.empty());
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.oper where i_id = %1").arg(table)), 2);
}

// An operation goes with its norm rows; while journal records use it, it stays (they
// would vanish from the journal and still count in the hours and the pay).
TEST_F(OperationsTest, DeleteTakesTheNormsAlongAndIsRefusedWhileTheJournalUsesTheOperation)
{
    Seed::Record r;
    r.worker = seed->worker("Иванов И.И.");
    r.item = table;
    r.operation = tableAssembly;
    r.date = QDate(2026, 12, 10);
    const int record = seed->record(r);
    const auto deleteTableAssembly = [&] {
        throughMenu(*fakes, Form1->N5, [&] {
            ASSERT_TRUE(DataModule6->Oper.locate("id", tableAssembly));
            Form4->Button3->click();
        });
    };
    deleteTableAssembly();
    EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить операцию?", "Ошибка: Операция не удалена: по ней есть записи журнала."}));
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.norm where o_id = %1").arg(tableAssembly)), 2);

    db->exec(QStringLiteral("delete from accounts_dep.smena where id = %1").arg(record));
    deleteTableAssembly();
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.oper where id = %1").arg(tableAssembly)), 0);
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.norm where o_id = %1").arg(tableAssembly)), 0);
}

TEST_F(OperationsTest, EditorRefusesDuplicatesAndIncompleteInput)
{
    throughMenu(*fakes, Form1->N5, [&] {
        // Changing the chair's painting to the table's assembly is refused; keeping it is not.
        DataModule6->Oper.setRecNo(2);
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            EXPECT_EQ(Form10->windowTitle(), "Изменение данных о цене за операцию");
            EXPECT_EQ(Form10->Edit1->text(), "Стул С-2");
            EXPECT_EQ(Form10->ComboBox1->currentIndex(), 1);
            Form10->Button1->click();  // unchanged: accepted
        }));
        Form4->Button2->click();
        EXPECT_TRUE(fakes->messages.shown.empty());
        DataModule6->Oper.setRecNo(2);  // the save has read the list again
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            pickInEditor("Стол", "Сбор", 0);
            Form10->Button1->click();
            EXPECT_TRUE(Form10->isVisible());
        }));
        Form4->Button2->click();
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            Form10->Button1->click();  // the add set-up empties both boxes
        }));
        Form4->Button1->click();
    });
    EXPECT_EQ(messageTexts(), QStringList({"Ошибка: Операция с такими параметрами уже заведена!",
                                           "Ошибка: Все поля должны быть заполнены!"}));
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.oper where i_id = %1").arg(chair)), 1);
}

TEST_F(OperationsTest, EditorHasItsItemButtonFocusedAgainAfterAPicker)
{
    throughMenu(*fakes, Form1->N5, [&] {
        fakes->modalActions.push_back(whileActive([&](QDialog&) {
            Form10->Button4->setFocus();
            fakes->modalActions.push_back(whileActive([](QDialog&) {}));
            Form10->Button4->click();
            activateAgain(*Form10);
            EXPECT_EQ(Form10->focusWidget(), Form10->Button3);
        }));
        Form4->Button1->click();
    });
}

TEST_F(OperationsTest, DoubleClickOpensNormsOnlyWithPricesTickedInMaintenance)
{
    throughMenu(*fakes, Form1->N5, [&] {
        doubleClickCurrentRow(*Form4);
        EXPECT_EQ(fakes->modalShown.back(), "Form10");
        Form4->CheckBox1->setChecked(true);
        doubleClickCurrentRow(*Form4);
        EXPECT_EQ(fakes->modalShown.back(), "Form22");
        EXPECT_EQ(Form22->OperationId, tableAssembly);
        fakes->messages.answers = {true};
        Form4->Button3->click();
        EXPECT_EQ(column(*Form4), QStringList({"Стул С-2"}));
        // Nothing listed: neither the norms nor the editor.
        type(*Form4, "Я");
        Form4->DBGrid1DblClick();
        Form4->CheckBox1->setChecked(false);
        Form4->DBGrid1DblClick();
        EXPECT_EQ(fakes->modalShown.back(), "Form22");
    });
    EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить операцию?"}));
    Form4->CheckBox1->setChecked(false);
}

}  // namespace

namespace {

TEST_F(OperationsTest, ExcelButtonWritesEveryOperationAtItsOwnPriceWhateverTheSearch)
{
    seed->operation(table, painting, 1, -1);  // no norm: not in the list, in the price list
    db->exec(QStringLiteral("update accounts_dep.oper set cena_new = 1234.5 where id = %1").arg(tableAssembly));
    db->exec(QStringLiteral("update accounts_dep.oper set cena_new = null where id = %1").arg(chairPainting));
    throughMenu(*fakes, Form1->N5, [&] {
        type(*Form4, "Стул");  // the search does not narrow the price list
        Form4->Button5->click();
    });
    EXPECT_FALSE(Form4->XLS_Rep.isOpen());
    ASSERT_EQ(fakes->spreadsheets.opened.size(), 1u);
    const XlsxFile book(fakes->spreadsheets.opened.front());
    const QList<QStringList> expected = {{"Марка", "Операция", "Цена", "Вид"},
                                         {"Стол 100%", "Покраска", "0", "Заготовки"},
                                         {"Стол 100%", "Сборка", "1234.5", "Готовая продукция"},
                                         {"Стул С-2", "Покраска", "0", "Заготовки"}};
    for (int row = 1; row <= int(expected.size()); ++row)
        for (int column = 1; column <= 4; ++column)
            EXPECT_EQ(book.cell(row, column).value, expected[row - 1][column - 1]) << row << "," << column;
    EXPECT_EQ(book.cell(3, 3).type, XlsxCell::Type::Number);
}

}  // namespace
