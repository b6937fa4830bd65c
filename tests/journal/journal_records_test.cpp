#include "acceptance.h"
#include "journal_fixture.h"
#include "journal/record_editor.h"
#include "list_test_support.h"

#include <QAbstractItemModelTester>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class DeletionTest : public JournalFixture {};

TEST_F(DeletionTest, YesDeletesTheRecordAndLeavesTheOtherRecordsHours)
{
    const int petrov = seed->worker("Петров П.П.");
    record(1, 3);
    record(1, 5, kThursday, petrov);
    const int third = record(1, 2);
    hoursRow(1, "d9, d10=4, 5");
    logIn("8573", [&] {
        DataModule6->Smena1.locate("id", third);
        fakes->messages.answers = {true};
        Form1->Button3->click();
        ASSERT_EQ(fakes->messages.shown.size(), 1u);
        EXPECT_EQ(fakes->messages.shown[0].kind, ShownMessage::Kind::Question);
        EXPECT_EQ(fakes->messages.shown[0].text, "Удалить позицию из списка?");
        EXPECT_EQ(fakes->messages.shown[0].caption, "Удаление");
        EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.smena where id=%1").arg(third)), 0);
        EXPECT_EQ(cell(1), "3");
        EXPECT_EQ(cell(1, kThursday.addDays(-1)), "4");
        EXPECT_EQ(listedNames(), QStringList({"Иванов И.И.", "Петров П.П."}));
    });
}

// After a deletion the cursor stays at the deleted record's position, which the next
// record now takes; the last record deleted, the new last one is current.
TEST_F(DeletionTest, YesKeepsTheCursorAtTheSamePosition)
{
    record(1, 3, kThursday, seed->worker("Алексеев А.А."));
    record(1, 5, kThursday);
    const int yakovlev = record(1, 2, kThursday, seed->worker("Яковлев Я.Я."));
    logIn("8573", [&] {
        DataModule6->Smena1.setRecNo(2);
        Form1->Button3->click();
        EXPECT_EQ(listedNames(), QStringList({"Алексеев А.А.", "Яковлев Я.Я."}));
        EXPECT_EQ(DataModule6->Smena1.fieldByName("id").asInteger(), yakovlev);
        EXPECT_EQ(selectedRow(), 1);
        Form1->Button3->click();
        EXPECT_EQ(listedNames(), QStringList({"Алексеев А.А."}));
        EXPECT_EQ(selectedRow(), 0);
    });
}

// The date box changed without Enter does not lead the deletion astray: the hours cell
// recomputed is the one of the deleted record's own date.
TEST_F(DeletionTest, RecomputesTheCellOfTheRecordsOwnDate)
{
    const QDate wednesday = kThursday.addDays(-1), monday = kThursday.addDays(-3);
    record(1, 3, wednesday);
    hoursRow(1, "d7, d9=4, 3");
    logIn("8573", [&] {
        Form1->DateT->setFocus();
        Form1->DateT->setDate(wednesday);
        QTest::keyClick(Form1->DateT, Qt::Key_Return);
        Form1->DateT->setFocus();
        Form1->DateT->setDate(monday);  // typed, no Enter
        Form1->Button3->click();
        EXPECT_EQ(journalCount(), 0);
        EXPECT_EQ(cell(1, wednesday), "<null>");
        EXPECT_EQ(cell(1, monday), "4");
    });
}

TEST_F(DeletionTest, DeletingTheLastRecordOfTheDayEmptiesOnlyThatCell)
{
    record(4, 6);
    hoursRow(4, "d9, d10, d11=7, 6, 8");
    logIn("8573", [&] {
        Form1->RadioButton4->click();
        Form1->Button3->click();
        EXPECT_EQ(journalCount(), 0);
        EXPECT_EQ(cell(4), "<null>");
        EXPECT_EQ(cell(4, kThursday.addDays(-1)), "7");
        EXPECT_EQ(cell(4, kThursday.addDays(1)), "8");
        EXPECT_EQ(Form1->CurrentShiftQuery, &DataModule6->Smena4);
    });
}

TEST_F(DeletionTest, NoDeletesNothingAndKeepsTheRecord)
{
    record(1, 3);
    const int petrov = record(1, 5, kThursday, seed->worker("Петров П.П."));
    hoursRow(1, "d10=3");
    logIn("8573", [&] {
        DataModule6->Smena1.setRecNo(2);
        fakes->messages.answers = {false};
        Form1->Button3->click();
        EXPECT_EQ(journalCount(), 2);
        EXPECT_EQ(cell(1), "3");
        EXPECT_EQ(DataModule6->Smena1.fieldByName("id").asInteger(), petrov);
        EXPECT_EQ(selectedRow(), 1);
    });
}

TEST_F(DeletionTest, EmptyShiftAsksNothingAndWithoutARowNoneIsCreated)
{
    record(1, 3);
    record(1, 5);
    logIn("8573", [&] {
        Form1->RadioButton2->click();
        Form1->Button3->click();
        EXPECT_TRUE(fakes->messages.shown.empty());
        EXPECT_EQ(journalCount(), 2);

        Form1->RadioButton1->click();
        Form1->Button3->click();
        EXPECT_EQ(journalCount(), 1);
        EXPECT_EQ(db->count("select count(*) from accounts_dep.h_tabel"), 0);
    });
}

TEST_F(DeletionTest, FailingUpkeepKeepsTheRecord)
{
    record(1, 3);
    record(1, 5);
    hoursRow(1, "d10=8");
    breakTimesheetWrites();
    logIn("8573", [&] {
        Form1->Button3->click();
        ASSERT_EQ(fakes->messages.shown.size(), 2u);
        EXPECT_EQ(fakes->messages.shown[1].caption, "Ошибка");
        EXPECT_TRUE(fakes->messages.shown[1].text.contains("timesheet refused"));
        EXPECT_EQ(journalCount(), 2);
        EXPECT_EQ(cell(1), "8");
        EXPECT_EQ(listedNames().size(), 2);
    });
}

class AcceptanceTest : public JournalFixture {
protected:
    void doubleClickRow(int row) { list_test::doubleClickRow(*Form1->DBGrid2, row); }
    QString mark(int id)
    {
        return db->scalar(QStringLiteral("select ok from accounts_dep.smena where id=%1").arg(id));
    }
    // How the grid paints the "OK" cell of a row.
    CellLook okLook(int row, bool selected)
    {
        auto* model = Form1->DBGrid2->datasetModel();
        CellContext context;
        context.row = row;
        context.column = 10;
        context.gridColumn = &model->columns()[10];
        context.value = model->cellText(row, 10);
        context.selected = selected;
        CellLook look;
        Form1->DBGrid2->cellStyler()(context, look);
        return look;
    }
};

TEST_F(AcceptanceTest, DoubleClickSwitchesEachMarkAndKeepsTheRow)
{
    struct Case {
        QString before, after;
    };
    const Case cases[] = {{"no", "ok"}, {"ok", "no"}, {"да", "no"}, {"", "ok"}, {"x", "ok"}};
    const QColor green(0, 128, 0), red(255, 0, 0);
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        record(2, 8, kThursday, seed->worker("Алексеев А.А."));
        const int id = record(2, 8, kThursday, 0, c.before);
        record(2, 8, kThursday, seed->worker("Яковлев Я.Я."));
        logIn("vrelk", [&] {
            Form1->RadioButton2->click();
            QAbstractItemModelTester tester(Form1->DBGrid2->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
            const CellLook before = okLook(1, true);
            EXPECT_TRUE(before.bold);
            EXPECT_TRUE(before.textColorWhenSelected);
            EXPECT_EQ(before.text, acceptance::isAccepted(c.before) ? green : red) << c.before.toStdString();

            doubleClickRow(1);
            EXPECT_EQ(mark(id), c.after) << c.before.toStdString();
            EXPECT_EQ(DataModule6->Smena2.recNo(), 2);
            EXPECT_EQ(selectedRow(), 1);
            EXPECT_EQ(okLook(1, false).text, c.after == "ok" ? green : red);
            EXPECT_TRUE(fakes->messages.shown.empty());
        });
    }
}

// Shifts 2 to 4 list by name alone, so two records of one worker change places whenever
// the server stores one of them anew. The record the user stood on stays current through
// the acceptance switch, a change in the editor and a deletion answered No.
TEST_F(AcceptanceTest, ReReadsKeepTheRecordTheUserStoodOn)
{
    record(2, 3, kThursday, seed->worker("Алексеев А.А."));
    const int first = record(2, 5);
    Seed::Record primed = Seed::recordOf(j, kThursday, 2);
    primed.color = 1;  // not a duplicate of the other
    const int second = seed->record(primed);
    record(2, 2, kThursday, seed->worker("Яковлев Я.Я."));
    // The record is stored anew, as any update may do: it now comes after its namesake.
    const auto storeAnew = [&](int id) {
        for (const char* move : {"+", "-"})
            db->exec(QStringLiteral("update accounts_dep.smena set data=data%1 1 where id=%2").arg(move).arg(id));
    };
    logIn("8573", [&] {
        Form1->RadioButton2->click();
        Dataset& journal = DataModule6->Smena2;
        const auto current = [&] { return journal.fieldByName("id").asInteger(); };
        journal.setRecNo(2);
        ASSERT_EQ(current(), first);

        // The switch's own update stores the record anew (a change by another workstation
        // before it would be refused).
        db->exec("create function accounts_dep.store_anew() returns trigger language plpgsql as $$ begin "
                 "update accounts_dep.smena set data=data+1 where id=new.id; "
                 "update accounts_dep.smena set data=data-1 where id=new.id; return null; end $$");
        db->exec("create trigger store_anew after update of ok on accounts_dep.smena for each row "
                 "execute function accounts_dep.store_anew()");
        doubleClickRow(1);
        EXPECT_EQ(mark(first), "ok");
        EXPECT_EQ(current(), first);
        EXPECT_EQ(journal.recNo(), 3);
        EXPECT_EQ(Form1->DBGrid2->currentIndex().row(), 2);

        storeAnew(second);
        fakes->modalActions.push_back([](QDialog& editor) {
            editor.show();
            Form11->Edit3->setText("7");
            Form11->Button1->click();
            editor.hide();
            return editor.result();
        });
        Form1->Button2->click();
        EXPECT_EQ(db->scalar(QStringLiteral("select kol_vo from accounts_dep.smena where id=%1").arg(first)), "7");
        EXPECT_EQ(current(), first);
        EXPECT_EQ(journal.recNo(), 2);

        storeAnew(first);
        fakes->messages.answers = {false};
        Form1->Button3->click();
        EXPECT_EQ(current(), first);
        EXPECT_EQ(Form1->DBGrid2->currentIndex().row(), 2);
        EXPECT_EQ(fakes->messages.shown.size(), 1u) << messageTexts().join('\n').toStdString();
    });
}

TEST_F(AcceptanceTest, OtherColumnsAreDrawnAsUsual)
{
    record(1);
    logIn("8573", [&] {
        auto* model = Form1->DBGrid2->datasetModel();
        CellContext context;
        context.gridColumn = &model->columns()[0];
        context.value = model->cellText(0, 0);
        CellLook look;
        Form1->DBGrid2->cellStyler()(context, look);
        EXPECT_FALSE(look.bold);
        EXPECT_FALSE(look.text.isValid());
    });
}

TEST_F(AcceptanceTest, ForemanAndEmptyShiftChangeNothing)
{
    const int id = record(1);
    logIn(" brigvex ", [&] {
        doubleClickRow(0);
        EXPECT_EQ(mark(id), "no");
    });
    TearDown();
    SetUp();
    logIn("8573", [&] {
        Form1->RadioButton3->click();
        doubleClickRow(0);
        Form1->DBGrid2DblClick();
        EXPECT_TRUE(fakes->messages.shown.empty());
        EXPECT_EQ(db->count("select count(*) from accounts_dep.smena where ok<>'no'"), 0);
    });
}

}  // namespace
