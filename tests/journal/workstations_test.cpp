// Several workstations on one database, and a connection that breaks under the program:
// the other workstation is a second data module in a thread of its own, held in the
// middle of its work until the program under test waits for it.
#include "deletions.h"
#include "journal_fixture.h"
#include "reference/operations_window.h"
#include "other_workstation.h"
#include "journal/record_editor.h"
#include "record_save.h"
#include "timesheet_rebuild.h"
#include "reference/workers_window.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kDuplicate = "Ошибка: Позиция с такими параметрами уже заведена!";
const QString kRestored = "Ошибка: Соединение с сервером было потеряно и восстановлено. Повторите действие.";
const QString kNoConnection = "Ошибка: Нет связи с сервером";

class WorkstationsTest : public JournalFixture {
protected:
    // The foreman's add through the real lists, quantity 5 and hours 3 on `date`; `ready`
    // acts on the filled editor (pressing "Запись" is up to it).
    void withNewRecord(const std::function<void()>& ready, const QDate& date = kThursday)
    {
        fakes->modalActions.push_back([this, ready, date](QDialog& editor) {
            editor.show();
            Form11->Button3->click();
            Form11->Button4->click();
            Form11->DTimeP->setDate(date);
            Form11->Edit3->setText("5");
            Form11->Edit6->setText("3");
            ready();
            stayedOpen = editor.isVisible();
            editor.hide();
            return editor.result();
        });
        fakes->modalActions.push_back(chooseCurrentRow(Form5->Button2));
        fakes->modalActions.push_back(chooseCurrentRow(Form4->Button2));
        Form1->Button1->click();
    }

    // What the other workstation's editor writes: the journal's worker, item and operation.
    pay::JournalRecord otherRecord(const QDate& date, int hours) const
    {
        pay::JournalRecord r;
        r.workerId = j.worker;
        r.itemId = j.item;
        r.operationId = j.operation;
        r.shift = 1;
        r.date = date;
        r.entered = date;
        r.price = 10;
        r.quantity = 7;
        r.hours = hours;
        return r;
    }
    // The other workstation saves a record of the journal's worker, item and operation
    // (shift 1) through the program's save, and holds its transaction open.
    void otherSaves(OtherWorkstation& other, const QDate& date, int hours)
    {
        other.holdUntilWaitedFor([this, date, hours](TDataModule6& module) {
            ASSERT_EQ(record_save::save(module, otherRecord(date, hours)).outcome, record_save::Outcome::Saved);
        });
    }
    void saveWhileTheOtherDeletes(const std::function<void(TDataModule6&)>& deletion, const QString& message);
    void deleteWhileTheOtherMovesTheRecord(bool otherStillSaving);
    int rowsOfTheMonth() { return db->count("select count(*) from accounts_dep.h_tabel where month=12 and year=2026"); }

    bool stayedOpen = false;
};

// 22 simultaneous saves once gave 6 doubled records. Whether the other writer is the
// program (it holds the record's lock) or another program (only the unique index stops
// it), the second save waits for the first, writes nothing and says why.
TEST_F(WorkstationsTest, TheSameRecordSavedOnTwoWorkstationsAtOnceIsStoredOnce)
{
    const struct {
        const char* name;
        bool throughTheProgram;
    } cases[] = {{"the other workstation runs the program", true}, {"another program inserts the record", false}};
    for (const auto& c : cases) {
        db->exec("delete from accounts_dep.smena");
        db->exec("delete from accounts_dep.h_tabel");
        fakes->messages.shown.clear();
        OtherWorkstation other(*db);
        logIn("8573", [&] {
            withNewRecord([&] {
                if (c.throughTheProgram) {
                    otherSaves(other, kThursday, 4);
                } else {
                    other.holdUntilWaitedFor([&](TDataModule6& module) {
                        module.ADO_DB.execute(
                            QStringLiteral("insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, "
                                           "color, time, ok) values (%1, %2, %3, 10, 7, 0, '%4', 1, 0, 4, 'no')")
                                .arg(j.worker)
                                .arg(j.item)
                                .arg(j.operation)
                                .arg(kThursday.toString(Qt::ISODate)));
                    });
                }
                Form11->Button1->click();
            });
        });
        EXPECT_TRUE(other.finish()) << c.name << ": the save did not wait for the other workstation";
        EXPECT_EQ(messageTexts(), QStringList{kDuplicate}) << c.name;
        EXPECT_TRUE(stayedOpen) << c.name;
        EXPECT_EQ(db->scalar("select count(*) || ' ' || sum(time) from accounts_dep.smena"), "1 4") << c.name;
        EXPECT_EQ(cell(1), c.throughTheProgram ? "4" : "<null>") << c.name;
    }
}

// A save while another workstation rebuilds the month waits for the rebuild and is then
// counted in the rebuilt month, in the one row of the worker and shift.
TEST_F(WorkstationsTest, ASaveDuringARebuildOfItsMonthIsCountedInTheRebuiltRow)
{
    record(1, 8);
    hoursRow(1, "d10=99");  // out of step, for the rebuild to mend
    OtherWorkstation other(*db);
    logIn("8573", [&] {
        withNewRecord(
            [&] {
                other.holdUntilWaitedFor([](TDataModule6& module) {
                    Dataset dt(module.ADO_DB, timesheet_rebuild::dayQuery());
                    timesheet_rebuild::rebuildMonth(module, dt, 12, 2026, [](int) {});
                });
                Form11->Button1->click();
            },
            kThursday.addDays(1));
    });
    EXPECT_TRUE(other.finish()) << "the save did not wait for the rebuild";
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(rowsOfTheMonth(), 1);
    EXPECT_EQ(cell(1), "8");
    EXPECT_EQ(cell(1, kThursday.addDays(1)), "3");
}

// The other way round: a rebuild started while another workstation's save is under way
// waits for it and reads its record.
TEST_F(WorkstationsTest, ARebuildWaitsForASaveOfItsMonthAndCountsIt)
{
    record(1, 8);
    OtherWorkstation other(*db);
    otherSaves(other, kThursday.addDays(1), 4);
    Dataset dt(DataModule6->ADO_DB, timesheet_rebuild::dayQuery());
    timesheet_rebuild::rebuildMonth(*DataModule6, dt, 12, 2026, [](int) {});
    EXPECT_TRUE(other.finish()) << "the rebuild did not wait for the save";
    EXPECT_EQ(rowsOfTheMonth(), 1);
    EXPECT_EQ(cell(1), "8");
    EXPECT_EQ(cell(1, kThursday.addDays(1)), "4");
}

// The worker, item or operation picked in the editor is deleted on another workstation
// before "Запись": the save waits for the deletion, writes nothing and says what is gone.
void WorkstationsTest::saveWhileTheOtherDeletes(const std::function<void(TDataModule6&)>& deletion, const QString& message)
{
    OtherWorkstation other(*db);
    logIn("8573", [&] {
        withNewRecord([&] {
            other.holdUntilWaitedFor(deletion);
            Form11->Button1->click();
        });
    });
    EXPECT_TRUE(other.finish()) << "the save did not wait for the deletion";
    EXPECT_EQ(messageTexts(), QStringList{message});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(journalCount(), 0);
    EXPECT_EQ(rowsOfTheMonth(), 0);
}

TEST_F(WorkstationsTest, ASaveForAnItemDeletedMeanwhileWritesNothingAndSaysSo)
{
    saveWhileTheOtherDeletes(
        [&](TDataModule6& module) {
            EXPECT_EQ(deletions::deleteItem(module, {j.item, true, false}), deletions::Outcome::Deleted);
        },
        "Ошибка: Изделие удалено другим пользователем");
}

TEST_F(WorkstationsTest, ASaveForAnOperationDeletedMeanwhileWritesNothingAndSaysSo)
{
    saveWhileTheOtherDeletes(
        [&](TDataModule6& module) {
            EXPECT_EQ(deletions::deleteOperation(module, j.operation), deletions::Outcome::Deleted);
        },
        "Ошибка: Операция удалена другим пользователем");
}

TEST_F(WorkstationsTest, ASaveForAWorkerDeletedMeanwhileWritesNothingAndSaysSo)
{
    saveWhileTheOtherDeletes(
        [&](TDataModule6& module) {
            module.ADO_DB.execute(QStringLiteral("delete from accounts_dep.person where id=%1").arg(j.worker));
        },
        "Ошибка: Работник удалён другим пользователем");
}

// A record changed or deleted on another workstation while it was open in "Изменить" is
// not overwritten: the save is refused, the journal read again, the editor closed.
TEST_F(WorkstationsTest, AChangeOfARecordAnotherWorkstationChangedOrDeletedIsRefused)
{
    const struct {
        const char* name;
        const char* otherChange;
        QString stored;
    } cases[] = {
        {"changed", "update accounts_dep.smena set kol_vo=99", "99"},
        {"deleted", "delete from accounts_dep.smena", "<null>"},
    };
    for (const auto& c : cases) {
        db->exec("delete from accounts_dep.smena");
        record(1, 8);
        fakes->messages.shown.clear();
        logIn("8573", [&] {
            fakes->modalActions.push_back([&](QDialog& editor) {
                editor.show();
                db->exec(c.otherChange);
                Form11->Edit3->setText("12");
                Form11->Button1->click();
                stayedOpen = editor.isVisible();
                editor.hide();
                return editor.result();
            });
            Form1->Button2->click();
            EXPECT_EQ(DataModule6->Smena1.recordCount(), c.stored == "<null>" ? 0 : 1) << c.name;
            if (!DataModule6->Smena1.isEmpty()) {
                EXPECT_EQ(DataModule6->Smena1.fieldByName("kol_vo").asString(), c.stored) << c.name;
            }
        });
        EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Запись изменена другим пользователем, список обновлён"}) << c.name;
        EXPECT_FALSE(stayedOpen) << c.name;
        EXPECT_EQ(db->scalar("select kol_vo from accounts_dep.smena"), c.stored) << c.name;
    }
}

// Another workstation moves a record to another worker with other hours (through the
// program's save) between this journal's read and the answer to "Удалить позицию из
// списка?": the deletion deletes nothing, the moved record and its hours stand, and the
// user is told and sees the journal as it is now.
void WorkstationsTest::deleteWhileTheOtherMovesTheRecord(bool otherStillSaving)
{
    const int borisov = seed->worker("Борисов Б.Б.");
    const int id = record(1, 3);
    hoursRow(1, "d10=3");
    const QString version = db->scalar(QStringLiteral("select xmin from accounts_dep.smena where id=%1").arg(id));
    OtherWorkstation other(*db);
    const auto moveToBorisov = [&](TDataModule6& module) {
        pay::JournalRecord moved = otherRecord(kThursday, 6);
        moved.id = id;
        moved.version = version;
        moved.workerId = borisov;
        EXPECT_EQ(record_save::save(module, moved).outcome, record_save::Outcome::Saved);
    };
    logIn("8573", [&] {
        ASSERT_EQ(listedNames(), QStringList{"Иванов И.И."});
        if (otherStillSaving)
            other.holdUntilWaitedFor(moveToBorisov);
        else
            moveToBorisov(other.module);
        Form1->Button3->click();
        EXPECT_EQ(listedNames(), QStringList{"Борисов Б.Б."});
    });
    if (otherStillSaving) {
        EXPECT_TRUE(other.finish()) << "the deletion did not wait for the other workstation";
    }
    EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить позицию из списка?",
                                           "Ошибка: Запись изменена другим пользователем, список обновлён"}));
    EXPECT_EQ(db->scalar("select w_id || ' ' || time from accounts_dep.smena"), QStringLiteral("%1 6").arg(borisov));
    EXPECT_EQ(cell(1, kThursday, borisov), "6");
    EXPECT_EQ(cell(1), "<null>");
}

TEST_F(WorkstationsTest, ADeletionOfARecordAnotherWorkstationChangedMeanwhileIsRefused)
{
    deleteWhileTheOtherMovesTheRecord(false);
}

// The other workstation's save is still under way when the deletion starts: the deletion
// waits for it and then finds the record changed.
TEST_F(WorkstationsTest, ADeletionWaitsForAChangeUnderWayAndIsRefused) { deleteWhileTheOtherMovesTheRecord(true); }

// A double click on a record another workstation changed since the journal was read
// leaves the mark as it is: the user is told and sees the record as it is now.
TEST_F(WorkstationsTest, AnAcceptanceSwitchOfARecordChangedMeanwhileIsRefused)
{
    record(1, 3);
    logIn("8573", [&] {
        db->exec("update accounts_dep.smena set kol_vo=99");
        QWidget* viewport = Form1->DBGrid2->viewport();
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0)).center());
        EXPECT_EQ(DataModule6->Smena1.fieldByName("kol_vo").asString(), "99");
        EXPECT_EQ(DataModule6->Smena1.fieldByName("ok").asString(), "no");
        // Read again, the record takes the switch.
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, Form1->DBGrid2->visualRect(Form1->DBGrid2->model()->index(0, 0)).center());
    });
    EXPECT_EQ(messageTexts(), QStringList{"Ошибка: Запись изменена другим пользователем, список обновлён"});
    EXPECT_EQ(db->scalar("select ok || ' ' || kol_vo from accounts_dep.smena"), "ok 99");
}

// The server ends the program's connection while the foreman types a record: "Запись"
// says the connection was restored and leaves everything typed in place; pressing it
// again saves the record once.
TEST_F(WorkstationsTest, AfterALostConnectionTheOpenEditorKeepsItsInputAndTheNextSaveWorks)
{
    logIn("8573", [&] {
        withNewRecord([&] {
            terminateOtherConnections(*db);
            Form11->Button1->click();
            EXPECT_EQ(messageTexts(), QStringList{kRestored});
            EXPECT_TRUE(Form11->isVisible());
            EXPECT_EQ(Form11->Edit1->text(), "Иванов И.И.");
            EXPECT_EQ(Form11->Edit2->text(), "Стол СТ-1; Сборка; Готовая продукция");
            EXPECT_EQ(Form11->Edit3->text(), "5");
            EXPECT_EQ(Form11->Edit6->text(), "3");
            EXPECT_EQ(journalCount(), 0);
            Form11->Button1->click();
        });
        EXPECT_EQ(listedNames(), QStringList{"Иванов И.И."});
    });
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(messageTexts(), QStringList{kRestored});
    EXPECT_EQ(db->scalar("select count(*) || ' ' || sum(time) from accounts_dep.smena"), "1 3");
    EXPECT_EQ(cell(1), "3");
}

// A read that finds the connection broken is sent again after the reconnect: the user
// sees the journal, not an error.
TEST_F(WorkstationsTest, AReadAfterALostConnectionIsSentAgainUnnoticed)
{
    record(2, 8);
    logIn("8573", [&] {
        terminateOtherConnections(*db);
        Form1->RadioButton2->click();
        EXPECT_EQ(listedNames(), QStringList{"Иванов И.И."});
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
}

// While the server cannot be reached every action says so once and the program goes on;
// the 30-second version check says so once for the whole outage, not at every tick. Once
// the server is back the next action works.
TEST_F(WorkstationsTest, WhileTheServerIsAwayActionsSayNoConnectionAndTheVersionCheckSaysItOnce)
{
    record(2, 8);
    const QString allow = QStringLiteral("alter database %1 allow_connections %2").arg(db->name());
    logIn("8573", [&] {
        db->exec(allow.arg("false"));
        terminateOtherConnections(*db);
        Form1->RadioButton2->click();
        EXPECT_EQ(messageTexts(), QStringList{kNoConnection});
        for (int tick = 0; tick < 3; ++tick)
            Form1->Timer1Timer();
        EXPECT_EQ(messageTexts(), QStringList({kNoConnection, kNoConnection}));

        db->exec(allow.arg("true"));
        Form1->Timer1Timer();
        Form1->RadioButton1->click();
        Form1->RadioButton2->click();
        EXPECT_EQ(listedNames(), QStringList{"Иванов И.И."});
        EXPECT_EQ(messageTexts().size(), 2);

        // A later outage is told again.
        db->exec(allow.arg("false"));
        terminateOtherConnections(*db);
        Form1->Timer1Timer();
        EXPECT_EQ(messageTexts().size(), 3);
        db->exec(allow.arg("true"));
    });
}

}  // namespace
