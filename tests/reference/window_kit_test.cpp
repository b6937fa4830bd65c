#include "data_grid.h"
#include "data_module.h"
#include "handler_guard.h"
#include "reference/norms_window.h"
#include "reference/items_window.h"
#include "app/journal_window.h"
#include "reference/kinds_window.h"
#include "list_test_support.h"
#include "reference/operation_editor.h"
#include "reference/operations_window.h"
#include "reference/workers_window.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace list_test;

namespace {

class WindowKitTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        seed->worker("Иванов И.И.");
        seed->operation(seed->item("Стол СТ-1"), seed->operationKind("Сборка"));
    }

    // The objectNames the focus passes through on this many presses of Tab.
    static QStringList tabWalk(int presses)
    {
        QStringList names;
        for (int i = 0; i < presses; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    }
};

TEST_F(WindowKitTest, EnterAndSpacePressTheFocusedButtonNotTheDefaultOne)
{
    // The operation editor: "..." with the focus opens its picker instead of saving.
    fakes->modalActions.push_back(whileActive([&](QDialog&) {
        fakes->modalActions.push_back(whileShown([](QDialog&) {}));
        Form10->Button4->setFocus();
        QTest::keyClick(Form10->Button4, Qt::Key_Return);
        EXPECT_EQ(fakes->modalShown.back(), "Form8");
        fakes->modalActions.push_back(whileShown([](QDialog&) {}));
        Form10->Button3->setFocus();
        QTest::keyClick(Form10->Button3, Qt::Key_Space);
        EXPECT_EQ(fakes->modalShown.back(), "Form3");
        EXPECT_TRUE(Form10->isVisible());
    }));
    Form10->Tag = 1;
    seams::showModal(*Form10);
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();

    // The workers list: Tab to "Удалить" and Enter asks about deleting, nothing is added;
    // Enter in the search box still presses the default button "Добавить".
    fakes->modalActions.push_back(whileActive([&](QDialog&) {
        for (int i = 0; i < 10 && QApplication::focusWidget() != Form5->Button3; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Form5->Button3);
        fakes->messages.answers = {false};
        QTest::keyClick(Form5->Button3, Qt::Key_Return);
        EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить работника?"}));
        EXPECT_EQ(fakes->modalShown.back(), "Form5");
        Form5->Edit1->setFocus();
        QTest::keyClick(Form5->Edit1, Qt::Key_Enter);
        EXPECT_EQ(fakes->modalShown.back(), "Form2");
    }));
    Form1->N3->trigger();
}

TEST_F(WindowKitTest, TabRunsOverTheListWindowsFromLeftToRight)
{
    fakes->modalActions.push_back(whileActive([&](QDialog&) {
        EXPECT_EQ(QApplication::focusWidget(), Form5->Edit1);
        EXPECT_EQ(tabWalk(6), QStringList({"Button4", "DBGrid1", "Button1", "Button2", "Button3", "Edit1"}));
    }));
    Form1->N3->trigger();

    fakes->modalActions.push_back(whileActive([&](QDialog&) {
        EXPECT_EQ(tabWalk(6), QStringList({"Button4", "DBGrid1", "Button2", "Button5", "CheckBox1", "Edit1"}));
    }));
    Form4->showAsPicker(0, false, 1);  // with its search box, without "Добавить" and "Удалить"
}

// The width a title needs in the grid's header font: its text and the header's margins.
int titleWidth(DataGrid* grid, int column)
{
    QFont bold = grid->horizontalHeader()->font();
    bold.setBold(true);
    const int margin = grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid->horizontalHeader());
    return QFontMetrics(bold).horizontalAdvance(grid->model()->headerData(column, Qt::Horizontal).toString()) + 2 * margin;
}

TEST_F(WindowKitTest, ColumnsShowTheirWidestValueAndTheirWholeTitle)
{
    const QString brand = QStringLiteral("Стеллаж металлический СЖ-2000 усиленный");
    seed->operation(seed->item(brand), seed->operationKind("Покраска"));
    const auto checkOperations = [&] {
        QApplication::processEvents();  // the window has taken its new width
        DataGrid* grid = Form4->DBGrid1;
        EXPECT_GE(grid->columnWidth(0), grid->fontMetrics().horizontalAdvance(brand)) << "the brand";
        EXPECT_EQ(grid->columnWidth(1), 243);  // a designed width that holds its title stays
        for (int column : {2, 4})
            EXPECT_GE(grid->columnWidth(column), titleWidth(grid, column)) << column;
        EXPECT_GE(grid->viewport()->width(), grid->horizontalHeader()->length()) << "no column behind the scroll bar";
    };
    throughMenu(*fakes, Form1->N5, checkOperations);
    fakes->modalActions.push_back(whileShown([&](QDialog&) { checkOperations(); }));
    Form4->showAsPicker(0, false, 1);
    throughMenu(*fakes, Form1->N4, [&] { EXPECT_GE(Form3->DBGrid1->columnWidth(1), titleWidth(Form3->DBGrid1, 1)); });

    // A designed width grows for a value that would not fit it.
    const QString name = QStringLiteral("Константинопольский-Преображенский Александр");
    seed->worker(name);
    throughMenu(*fakes, Form1->N3, [&] {
        EXPECT_GE(Form5->DBGrid1->columnWidth(0), Form5->DBGrid1->fontMetrics().horizontalAdvance(name));
        EXPECT_EQ(Form5->DBGrid1->columnWidth(1), 300);
    });
}

TEST_F(WindowKitTest, NumbersStandRightInTheGrids)
{
    const auto right = [](const QAbstractItemModel* model, int column) {
        return Qt::Alignment(model->index(0, column).data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight;
    };
    throughMenu(*fakes, Form1->N4, [&] { EXPECT_TRUE(right(Form3->DBGrid1->model(), 2)) << "the mass"; });
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        const QAbstractItemModel* norms = Form22->DBGrid1->model();
        for (int column = 0; column < norms->columnCount(); ++column)
            EXPECT_TRUE(right(norms, column)) << column;
    }));
    Form22->showForOperation(db->count("select min(id) from accounts_dep.oper"));
}

}  // namespace

namespace {

// The report chooser, the record editor, a list and an editor shown from that list open
// centred on the window they are shown over, every time: also after the user moved them
// away and after the window under them moved.
TEST_F(WindowKitTest, DialogsOpenCentredOnTheWindowTheyAreShownOverEveryTime)
{
    // Where the dialog's centre was when it had just been shown, then moved away by the user.
    const auto showing = [](QPoint& centre, const std::function<void(QDialog&)>& whileShown = {}) {
        return [&centre, whileShown](QDialog& dialog) {
            dialog.show();
            centre = dialog.frameGeometry().center();
            if (whileShown)
                whileShown(dialog);
            dialog.move(dialog.pos() + QPoint(70, 50));
            dialog.hide();
            return int(QDialog::Rejected);
        };
    };
    logIn("8573", [&] {
        Form1->move(40, 30);
        const std::pair<const char*, std::function<void()>> windows[] = {
            {"Form18", [] { Form1->N9->trigger(); }},
            {"Form11", [] { Form1->Button1->click(); }},
            {"Form5", [] { Form1->N3->trigger(); }},
        };
        for (const auto& [name, open] : windows) {
            for (int time = 1; time <= 2; ++time) {
                QPoint centre;
                fakes->modalActions.push_back(showing(centre));
                open();
                EXPECT_EQ(fakes->modalShown.back(), name);
                EXPECT_LE((centre - Form1->frameGeometry().center()).manhattanLength(), 1) << name << ", time " << time;
                Form1->move(Form1->pos() + QPoint(25, 15));
            }
        }
        // The worker editor goes over the workers list, wherever the list stands.
        QPoint listCentre, editorCentre;
        fakes->modalActions.push_back(showing(listCentre, [&](QDialog& list) {
            list.move(list.pos() + QPoint(-30, 20));
            fakes->modalActions.push_back(showing(editorCentre));
            Form5->Button1->click();
            EXPECT_EQ(fakes->modalShown.back(), "Form2");
            EXPECT_LE((editorCentre - list.frameGeometry().center()).manhattanLength(), 1);
        }));
        Form1->N3->trigger();
    });
}

// A slip of the program (a field name the list does not have) is told as the program's
// own fault; what the server refuses stays a database error.
TEST_F(WindowKitTest, HandlersTellASlipOfTheProgramFromADatabaseError)
{
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"Ошибка: Внутренняя ошибка программы: Поле 'no_such_field' не найдено",
         [] {
             DataModule6->Workers.open();
             DataModule6->Workers.fieldByName("no_such_field");
         }},
        {"Ошибка: Ошибка базы данных\n",
         [] { DataModule6->scalar("select no_such_column from accounts_dep.person"); }},
    };
    for (const auto& [shown, handler] : handlers) {
        fakes->messages.shown.clear();
        runHandler(handler, Form1);
        ASSERT_EQ(messageTexts().size(), 1) << shown;
        EXPECT_TRUE(messageTexts().first().startsWith(QString::fromUtf8(shown))) << messageTexts().first().toStdString();
    }
    DataModule6->Workers.close();
}

}  // namespace
