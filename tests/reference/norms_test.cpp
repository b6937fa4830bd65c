#include "data_module.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "reference/norms_window.h"
#include "reference/operations_window.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace list_test;

namespace {

class NormsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const int kind = seed->operationKind("Сборка");
        first = seed->operation(seed->item("Стол СТ-1"), kind, 0, -1);
        second = seed->operation(seed->item("Стул С-2"), kind, 0, 0.5);
        seed->norm(first, 300, 0.125);
        seed->norm(first, 100, 12.5);
        seed->norm(first, 200, 14);
    }

    // The norms of the list's second row (the table's), with `act` done on the window;
    // then the list as it stands.
    void onNorms(std::function<void(QAbstractItemModel&)> act, std::function<void()> afterwards = {})
    {
        throughMenu(*fakes, Form1->N5, [&] {
            DataModule6->Oper.setRecNo(1);
            Form4->CheckBox1->setChecked(true);
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                QAbstractItemModelTester tester(Form22->DBGrid1->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
                act(*Form22->DBGrid1->model());
            }));
            doubleClickCurrentRow(*Form4);
            Form4->CheckBox1->setChecked(false);
            if (afterwards)
                afterwards();
        });
    }

    // Types into a cell and moves on to another column, as the user does.
    static void typeAndLeave(int row, int column, const QString& text, int nextColumn)
    {
        auto* model = Form22->DBGrid1->model();
        Form22->DBGrid1->setCurrentIndex(model->index(row, column));
        model->setData(model->index(row, column), text, Qt::EditRole);
        Form22->DBGrid1->setCurrentIndex(model->index(row, nextColumn));
    }

    QStringList stored(int operation)
    {
        return db->column(QStringLiteral("select norma || '/' || price || '/' || coalesce(prize, 0) from accounts_dep.norm "
                                         "where o_id = %1 order by norma").arg(operation));
    }

    int first = 0, second = 0;
};

TEST_F(NormsTest, ShowsTheOperationsRowsByAscendingNormWithTwoOrThreeDecimals)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    onNorms([&](QAbstractItemModel& model) {
        EXPECT_EQ(Form22->windowTitle(), "Норматив");
        EXPECT_EQ(columnTexts(model, 0), QStringList({"100", "200", "300", ""}));
        EXPECT_EQ(columnTexts(model, 1), QStringList({"12,50", "14,00", "0,125", ""}));
        EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "Премия, %");
        EXPECT_EQ(Form22->DBGrid1->columnWidth(0), 133);
    });
    QLocale::setDefault(QLocale::c());
}

TEST_F(NormsTest, LeavingAChangedColumnWritesTheRowAtOnce)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    onNorms([&](QAbstractItemModel& model) {
        typeAndLeave(1, 1, "9,75", 2);
        EXPECT_EQ(stored(first), QStringList({"100/12.5/0", "200/9.75/0", "300/0.125/0"}));
        // A norm value that moves the row: the grid follows it.
        typeAndLeave(0, 0, "250", 1);
        EXPECT_EQ(columnTexts(model, 0), QStringList({"200", "250", "300", ""}));
        EXPECT_EQ(Form22->DBGrid1->currentIndex().row(), 1);
        // Letters in a number column: refused naming the column, nothing written.
        typeAndLeave(0, 0, "abc", 1);
        EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Норматив: нужно целое число"});
        Form22->close();  // the title bar's close button
    });
    EXPECT_EQ(stored(first), QStringList({"200/9.75/0", "250/12.5/0", "300/0.125/0"}));
    EXPECT_EQ(stored(second), QStringList({"100/0.5/0"}));
    QLocale::setDefault(QLocale::c());
}

// A row another workstation changed since the window read it is neither overwritten nor
// deleted: the change is refused and the rows are shown as they are now.
TEST_F(NormsTest, ARowChangedOnAnotherWorkstationIsNotOverwrittenAndTheRowsAreReadAgain)
{
    const QString stale = "Ошибка: Запись изменена другим пользователем, список обновлён";
    onNorms([&](QAbstractItemModel& model) {
        db->exec(QStringLiteral("update accounts_dep.norm set price = 15 where o_id = %1 and norma = 200").arg(first));
        typeAndLeave(1, 1, "9.75", 2);
        EXPECT_EQ(messageTexts(), QStringList{stale});
        EXPECT_EQ(columnTexts(model, 1), QStringList({"12.50", "15.00", "0.125", ""}));

        db->exec(QStringLiteral("update accounts_dep.norm set prize = 3 where o_id = %1 and norma = 300").arg(first));
        Form22->DBGrid1->setCurrentIndex(model.index(2, 0));
        Form22->Button2->click();
        EXPECT_EQ(messageTexts(), QStringList({stale, stale}));
        EXPECT_EQ(columnTexts(model, 0), QStringList({"100", "200", "300", ""}));

        // Read again, the rows can be changed.
        typeAndLeave(1, 1, "9.75", 2);
        EXPECT_EQ(messageTexts().size(), 2);
    });
    EXPECT_EQ(stored(first), QStringList({"100/12.5/0", "200/9.75/0", "300/0.125/3"}));
}

// Typed into the grid as the user types: a refused value names its column and never
// reaches the table; a new row without a price is not written.
TEST_F(NormsTest, EveryCellIsCheckedBeforeItIsWritten)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    struct Case {
        int column;
        QString input;
        bool pasted;
        QString message;
    };
    const Case cases[] = {
        {1, "-5", false, "Ошибка: Цена: число не может быть отрицательным"},
        {1, "", false, "Ошибка: Цена: нужно заполнить"},
        {1, "7.78e299", true, "Ошибка: Цена: нужно число"},
        {1, "1000001", false, "Ошибка: Цена: число слишком большое (не больше 1000000)"},
        {1, "0,12345", false, "Ошибка: Цена: не больше 4 знаков после запятой"},
        {0, "-5", false, "Ошибка: Норматив: число не может быть отрицательным"},
        {0, "", false, "Ошибка: Норматив: нужно заполнить"},
        {0, "1,5", false, "Ошибка: Норматив: нужно целое число"},
        {2, "-5", false, "Ошибка: Премия, %: число не может быть отрицательным"},
        {2, "101", false, "Ошибка: Премия, %: число слишком большое (не больше 100)"},
        {1, "9,75", false, {}},
    };
    onNorms([&](QAbstractItemModel& model) {
        QApplication::setActiveWindow(Form22);
        for (const Case& c : cases) {
            fakes->messages.shown.clear();
            Form22->DBGrid1->setFocus();
            Form22->DBGrid1->setCurrentIndex(model.index(1, c.column));
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            ASSERT_NE(editor, nullptr);
            editor->selectAll();
            QTest::keyClick(editor, Qt::Key_Backspace);
            if (c.pasted) {
                QGuiApplication::clipboard()->setText(c.input);
                QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClicks(editor, c.input);
            }
            EXPECT_EQ(editor->text(), c.input);
            QTest::keyClick(editor, Qt::Key_Tab);
            EXPECT_EQ(messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.input.toStdString();
        }
        // A new row with a norm and no price: leaving it is refused, nothing is written.
        fakes->messages.shown.clear();
        typeAndLeave(3, 0, "400", 1);
        EXPECT_TRUE(fakes->messages.shown.empty());
        Form22->DBGrid1->setCurrentIndex(model.index(0, 1));
        EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Цена: нужно заполнить"});
        EXPECT_EQ(Form22->DBGrid1->currentIndex().row(), 3);
        Form22->Button1->click();
        EXPECT_TRUE(Form22->isVisible());
        Form22->close();
    });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(stored(first), QStringList({"100/12.5/0", "200/9.75/0", "300/0.125/0"}));
}

// A write the server refuses is shown once, with a Russian first line, and not again on
// the following moves.
TEST_F(NormsTest, ARefusedWriteIsShownOnce)
{
    db->exec("create function accounts_dep.refuse_norm() returns trigger language plpgsql as "
             "$$ begin raise exception 'norm refused'; end $$");
    db->exec("create trigger refuse_norm before update on accounts_dep.norm for each row execute function accounts_dep.refuse_norm()");
    onNorms([&](QAbstractItemModel& model) {
        typeAndLeave(0, 1, "11", 2);
        Form22->DBGrid1->setCurrentIndex(model.index(1, 0));
        Form22->DBGrid1->setCurrentIndex(model.index(2, 1));
        ASSERT_EQ(fakes->messages.shown.size(), 1u);
        EXPECT_TRUE(fakes->messages.shown[0].text.startsWith("Ошибка базы данных\n"));
        EXPECT_TRUE(fakes->messages.shown[0].text.contains("norm refused"));
        Form22->close();
    });
    EXPECT_EQ(stored(first), QStringList({"100/12.5/0", "200/14/0", "300/0.125/0"}));
}

TEST_F(NormsTest, DeleteKeepsTheLastRow)
{
    onNorms([&](QAbstractItemModel& model) {
        Form22->DBGrid1->setCurrentIndex(model.index(1, 0));
        Form22->Button2->click();
        EXPECT_EQ(columnTexts(model, 0), QStringList({"100", "300", ""}));
        Form22->Button2->click();
        Form22->Button2->click();
        EXPECT_EQ(columnTexts(model, 0).size(), 2);
    });
    EXPECT_EQ(stored(first).size(), 1);
    EXPECT_TRUE(fakes->messages.shown.empty());
}

TEST_F(NormsTest, DeleteOnTheNewNormsRowDropsOnlyWhatWasTypedThere)
{
    onNorms([&](QAbstractItemModel& model) {
        Form22->DBGrid1->setCurrentIndex(model.index(1, 0));
        Form22->DBGrid1->setCurrentIndex(model.index(3, 0));
        Form22->Button2->click();
        Form22->DBGrid1->setCurrentIndex(model.index(3, 0));
        model.setData(model.index(3, 0), "400", Qt::EditRole);
        Form22->Button2->click();
        EXPECT_EQ(columnTexts(model, 0), QStringList({"100", "200", "300", ""}));
    });
    EXPECT_EQ(stored(first).size(), 3);
}

TEST_F(NormsTest, SaveWritesANewRowAndRefreshesTheListOnTheSameRow)
{
    onNorms(
        [&](QAbstractItemModel& model) {
            typeAndLeave(3, 0, "50", 1);
            const int row = Form22->DBGrid1->currentIndex().row();
            EXPECT_EQ(row, 3);  // the new row waits for its price
            EXPECT_EQ(stored(first).size(), 3);
            model.setData(model.index(row, 1), "0.1", Qt::EditRole);
            QTest::keyClick(Form22, Qt::Key_Escape);  // Escape saves as "Сохранить" does
            EXPECT_FALSE(Form22->isVisible());
        },
        [&] {
            EXPECT_EQ(DataModule6->Oper.recNo(), 1);
            EXPECT_EQ(current(*Form4, 2), "0.1");
            EXPECT_EQ(current(*Form4, 4), "4");
        });
    EXPECT_EQ(stored(first), QStringList({"50/0.1/0", "100/12.5/0", "200/14/0", "300/0.125/0"}));
}

}  // namespace
