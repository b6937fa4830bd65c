#include "journal_fixture.h"
#include "reference/operations_window.h"
#include "journal/record_editor.h"
#include "reference/workers_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

namespace {

class RecordEditorPickersTest : public JournalFixture {};

// The foreman's whole way through the real lists: the worker and the operation are
// picked from the workers and operations windows, and the price follows the day off
// and the overtime shift.
TEST_F(RecordEditorPickersTest, AddPicksWorkerAndOperationFromTheReferenceLists)
{
    logIn("8573", [&] {
        Form1->CBox1->setChecked(true);
        Form1->RadioButton4->click();
        addThroughTheLists(*fakes, [&] {
            EXPECT_EQ(Form11->Edit1->text(), "Иванов И.И.");
            EXPECT_EQ(Form11->WorkerId, j.worker);
            EXPECT_EQ(Form11->Edit2->text(), "Стол СТ-1; Сборка; Готовая продукция");
            EXPECT_EQ(Form11->OperId, j.operation);
            EXPECT_DOUBLE_EQ(Form11->Price, 30.0);  // 10 doubled on a day off, half again in overtime
        });
    });
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form11", "Form5", "Form4"}));
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(db->scalar("select w_id||'|'||o_id||'|'||cena||'|'||kol_vo||'|'||smena||'|'||time from accounts_dep.smena"),
              QStringLiteral("%1|%2|30|5|4|3").arg(j.worker).arg(j.operation));
    EXPECT_EQ(cell(4), "3");
}

// The picked price is rounded once, by the editor, with halves going to the even
// neighbour: 10.0003 in overtime is 15.00045, written 15.0004.
TEST_F(RecordEditorPickersTest, PickedPriceIsRoundedOnceHalvesToEven)
{
    db->exec("update accounts_dep.norm set price=10.0003");
    logIn("8573", [&] {
        Form1->RadioButton4->click();
        addThroughTheLists(*fakes, [] { EXPECT_EQ(Form11->Edit7->text(), "15.0004"); });
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(db->scalar("select cena from accounts_dep.smena"), "15.0004");
}

// "Цена база" is the base price of the operation picked from a search, not of the row the
// whole list stands on once the search is switched off; the operation box shows the
// beginning of its text.
TEST_F(RecordEditorPickersTest, BasePriceIsThatOfTheOperationPickedFromASearch)
{
    const int kind = seed->operationKind("Покраска порошковая");
    seed->operation(seed->item("Бак Б-1"), kind, 0, 99.0);  // first of the whole list
    for (int n = 1; n <= 6; ++n)
        seed->operation(seed->item(QStringLiteral("Шкаф металлический ШК-10/%1").arg(n)), kind, 0, 10.0 + n);
    logIn("8573", [&] {
        Form1->RadioButton3->click();
        fakes->modalActions.push_back([&](QDialog& editor) {
            editor.show();
            Form11->Button4->click();
            EXPECT_TRUE(Form11->Edit2->text().startsWith("Шкаф металлический ШК-10/5; Покраска порошковая; "))
                << Form11->Edit2->text().toStdString();
            EXPECT_EQ(Form11->Edit2->cursorPosition(), 0);
            EXPECT_EQ(Form11->Edit8->text(), "15");
            EXPECT_EQ(Form11->Edit7->text(), "18");  // shift 3
            editor.hide();
            return int(QDialog::Rejected);
        });
        fakes->modalActions.push_back([](QDialog& list) {
            list.show();
            typeText(Form4->Edit1, "ШК-10");
            for (int row = 1; row < 5; ++row)
                QTest::keyClick(Form4->Edit1, Qt::Key_Down);
            EXPECT_EQ(DataModule6->Oper.recordCount(), 6);
            EXPECT_EQ(DataModule6->Oper.recNo(), 5);
            Form4->Button2->click();
            list.hide();
            return list.result();
        });
        Form1->Button1->click();
    });
    EXPECT_EQ(fakes->modalShown, (std::vector<QString>{"Form1", "Form11", "Form4"}));
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
}

}  // namespace
