// The brigade window: a brigade's shift typed from the keyboard, copied from an earlier
// shift, and written through the record editor's rules all together or not at all.
#include "entry_grid.h"
#include "journal/brigade_window.h"
#include "journal/record_editor.h"
#include "journal_fixture.h"
#include "list_test_support.h"
#include "other_workstation.h"
#include "record_save.h"
#include "reference/operations_window.h"
#include "reference/workers_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kDuplicate = QStringLiteral("Позиция с такими параметрами уже заведена!");

class BrigadeTest : public JournalFixture {
protected:
    void SetUp() override
    {
        JournalFixture::SetUp();
        petrov = seed->worker("Петров П.П.");
        bak = seed->item("Бак Б-1");
        polishing = seed->operation(bak, seed->operationKind("Шлифовка"), 0, 4.0);
        seed->operation(seed->item("Шкаф Ш-2"), seed->operationKind("Покраска (КРАСКА)"), 0, 6.0);
    }

    // "Бригада" pressed with Enter in the journal; `act` works in the window while it is the
    // active one.
    void inBrigade(const std::function<void()>& act)
    {
        fakes->modalActions.push_back(list_test::whileActive([act](QDialog&) { act(); }));
        QTest::keyClick(Form1->Button9, Qt::Key_Return);
    }
    // The operations list, when it is shown next, picks the first operation of the search.
    void operationPickedBy(const QString& search)
    {
        fakes->modalActions.push_back(list_test::whileShown([search](QDialog&) {
            list_test::type(*Form4, search);
            QTest::keyClick(Form4->Edit1, Qt::Key_Return);
        }));
    }
    // The operation new rows take, picked by Enter on "..." as the window opens.
    void pickDefaultOperation(const QString& search)
    {
        operationPickedBy(search);
        EXPECT_EQ(Form27->focusWidget(), Form27->Button4);
        QTest::keyClick(Form27->Button4, Qt::Key_Return);
    }
    static void enter() { QTest::keyClick(Form27->DBGrid1, Qt::Key_Return); }
    // Each cell typed and closed by Enter; an empty text takes what the cell shows.
    static void typeRow(const QStringList& cells)
    {
        for (const QString& typed : cells) {
            typeText(Form27->DBGrid1, typed);
            enter();
        }
    }
    static void save()
    {
        list_test::activateAgain(*Form27);
        QTest::keyClick(Form27, Qt::Key_F2);
    }
    static QString grid(int row, int column) { return Form27->DBGrid1->text(row, column); }
    static QStringList column(int column)
    {
        QStringList texts;
        for (int row = 0; row < Form27->DBGrid1->rowCount(); ++row)
            texts << grid(row, column);
        return texts;
    }
    QString journalRows()
    {
        return db->scalar("select string_agg(w_id||' '||i_id||' '||o_id||' '||cena||' '||kol_vo||' '||brak||' '||data||' '||smena"
                          "||' '||color||' '||time||' '||vvod||' '||ok, '; ' order by w_id, o_id) from accounts_dep.smena");
    }
    QString timesheetRows()
    {
        return db->scalar("select string_agg(w_id||' '||smena||' '||d10, '; ' order by w_id, smena) from accounts_dep.h_tabel");
    }

    int petrov = 0, bak = 0, polishing = 0;
};

using C = TForm27::Column;

// A foreman's brigade without the mouse: the operation picked once with a search typed,
// each worker found by the start of his name, Enter from cell to cell and into a new row
// that takes the hours above, Delete to remove a row, F2 to write. The journal shows the records
// at once and the grid is empty again, the operation still chosen.
TEST_F(BrigadeTest, ABrigadeIsTypedAndWrittenFromTheKeyboardOnly)
{
    logIn("brigvex", [&] {
        inBrigade([&] {
            pickDefaultOperation("Стол");
            EXPECT_EQ(Form27->Edit1->text(), "Стол СТ-1; Сборка; Готовая продукция");
            EXPECT_EQ(Form27->Edit2->text(), "10");
            typeRow({"ив", "12", "1", "8"});
            typeText(Form27->DBGrid1, "П");
            EXPECT_EQ(Form27->ListBox1->count(), 1);  // the list narrows to Петров
            typeRow({"", "7", "0", ""});
            EXPECT_EQ(column(C::Worker), (QStringList{"Иванов И.И.", "Петров П.П.", ""}));
            EXPECT_EQ(column(C::Hours), (QStringList{"8", "8", "8"}));
            EXPECT_EQ(column(C::Pay), (QStringList{"110", "70", ""}));
            EXPECT_EQ(Form27->Label1->text(), "Итого: годных 18 шт., 16 ч., 180 р.");
            QTest::keyClick(Form27->DBGrid1, Qt::Key_Delete);  // the empty row at the bottom
            EXPECT_EQ(column(C::Worker), (QStringList{"Иванов И.И.", "Петров П.П."}));
            save();
            EXPECT_EQ(Form27->DBGrid1->rowCount(), 1);
            EXPECT_EQ(grid(0, C::Operation), "Сборка; Готовая продукция");
            EXPECT_EQ(listedNames(), (QStringList{"Иванов И.И.", "Петров П.П."}));
        });
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(db->scalar("select string_agg(w_id||' '||kol_vo||' '||brak||' '||time||' '||cena||' '||smena, '; ' order by w_id) "
                         "from accounts_dep.smena"),
              QStringLiteral("%1 12 1 8 10 1; %2 7 0 8 10 1").arg(j.worker).arg(petrov));
    EXPECT_EQ(cell(1), "8");
    EXPECT_EQ(cell(1, kThursday, petrov), "8");
}

// "Копировать с…" proposes the last earlier date with records in the shift and copies its
// records' workers, operations, colours and hours; the quantities only when asked. Each
// copied row is entered at its quantity, and Enter passes the hours copied.
TEST_F(BrigadeTest, CopiesAnEarlierShiftWithAndWithoutQuantities)
{
    const QDate tuesday = kThursday.addDays(-2), wednesday = kThursday.addDays(-1);
    Seed::Record r = Seed::recordOf(j, wednesday, 1);
    r.quantity = 10, r.rejects = 1, r.hours = 8;
    seed->record(r);
    r.worker = petrov, r.item = bak, r.operation = polishing, r.quantity = 6, r.rejects = 0, r.hours = 4;
    seed->record(r);
    r.shift = 2;  // another shift
    seed->record(r);
    r.shift = 1, r.date = tuesday;
    seed->record(r);
    logIn("8573", [&] {
        inBrigade([&] {
            EXPECT_EQ(Form27->DateFrom->date(), wednesday);
            QTest::keyClick(Form27->Button2, Qt::Key_Return);
            EXPECT_EQ(column(C::Worker), (QStringList{"Иванов И.И.", "Петров П.П."}));
            EXPECT_EQ(column(C::Item), (QStringList{"Стол СТ-1", "Бак Б-1"}));
            EXPECT_EQ(column(C::Hours), (QStringList{"8", "4"}));
            EXPECT_EQ(column(C::Quantity), (QStringList{"", ""}));
            EXPECT_EQ(column(C::Rejects), (QStringList{"", ""}));
            typeRow({"11", "0", ""});
            typeRow({"5", "1", ""});
            save();
            QTest::keyClick(Form27->CheckBox1, Qt::Key_Space);
            QTest::keyClick(Form27->Button2, Qt::Key_Return);
            EXPECT_EQ(column(C::Worker), (QStringList{"Иванов И.И.", "Петров П.П."}));
            EXPECT_EQ(column(C::Quantity), (QStringList{"10", "6"}));
            EXPECT_EQ(column(C::Rejects), (QStringList{"1", "0"}));
            EXPECT_EQ(column(C::Price), (QStringList{"10", "4"}));
            // Unsaved rows: Escape asks first; No keeps the window, Yes closes it.
            fakes->messages.answers = {false, true};
            QTest::keyClick(Form27->DBGrid1, Qt::Key_Escape);
            EXPECT_TRUE(Form27->isVisible());
            QTest::keyClick(Form27->DBGrid1, Qt::Key_Escape);
            EXPECT_FALSE(Form27->isVisible());
        });
    });
    EXPECT_EQ(messageTexts(), (QStringList{"Бригада: Записи бригады не сохранены. Закрыть без записи?",
                                           "Бригада: Записи бригады не сохранены. Закрыть без записи?"}));
    EXPECT_EQ(db->scalar(QStringLiteral("select string_agg(w_id||' '||o_id||' '||kol_vo||' '||brak||' '||time, '; ' order by w_id) "
                                        "from accounts_dep.smena where data='%1'")
                             .arg(kThursday.toString(Qt::ISODate))),
              QStringLiteral("%1 %2 11 0 8; %3 %4 5 1 4").arg(j.worker).arg(j.operation).arg(petrov).arg(polishing));
}

// Every refusal of the record editor, for one row of a grid whose other rows are right:
// nothing is written, the refused row is marked with the reason and made current, and the
// message counts the refused rows and gives the first one's reason.
TEST_F(BrigadeTest, ARefusedRowWritesNothingAndIsMarkedWithItsReason)
{
    struct Case {
        const char* name;
        // Worker, (colour of a paint operation,) quantity, rejects, hours; an item in front:
        // the row's operation is that item's, picked from the list.
        std::vector<QStringList> rows;
        std::vector<int> refusedRows;
        QString reason;
        std::function<void()> meanwhile;
    };
    const QString hours25 = "Время: у работника за 10.12.2026 в этой смене выходит 25 ч., а больше 24 быть не может";
    const Case cases[] = {
        {"missing field", {{"ив", "5", "0", "4"}, {"пе", "", "0", "4"}}, {1}, "Все поля должны быть заполнены!", {}},
        {"bad number", {{"ив", "5", "0", "4"}, {"пе", "5ш", "0", "4"}}, {1}, "Кол-во: нужно целое число", {}},
        {"no colour for a paint operation", {{"ив", "5", "0", "4"}, {"Шкаф", "пе", "", "5", "0", "4"}}, {1},
         "Все поля должны быть заполнены!", {}},
        {"too many rejects", {{"ив", "5", "0", "4"}, {"пе", "3", "5", "4"}}, {1}, "Брак не может быть больше количества!", {}},
        {"25 hours across two rows", {{"пе", "5", "0", "4"}, {"ив", "5", "0", "13"}, {"Бак", "ив", "5", "0", "12"}}, {1, 2}, hours25, {}},
        {"duplicate within the grid", {{"ив", "5", "0", "4"}, {"пе", "5", "0", "4"}, {"пе", "6", "0", "1"}}, {2}, kDuplicate, {}},
        {"duplicate against the journal", {{"ив", "5", "0", "4"}, {"пе", "5", "0", "4"}}, {1}, kDuplicate,
         [this] { seed->record(Seed::recordOf(j, kThursday, 1, petrov)); }},
        {"operation deleted meanwhile", {{"ив", "5", "0", "4"}, {"Бак", "пе", "5", "0", "4"}}, {1},
         "Операция удалена другим пользователем",
         [this] {
             db->exec(QStringLiteral("delete from accounts_dep.norm where o_id=%1").arg(polishing));
             db->exec(QStringLiteral("delete from accounts_dep.oper where id=%1").arg(polishing));
         }},
    };
    for (const Case& c : cases) {
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        const int records = c.meanwhile && std::string(c.name) == "duplicate against the journal" ? 1 : 0;
        logIn("8573", [&] {
            inBrigade([&] {
                pickDefaultOperation("Стол");
                for (QStringList row : c.rows) {
                    if (row.front() == "Бак" || row.front() == "Шкаф") {
                        // The row's operation from the list: F4 on its operation cell.
                        operationPickedBy(row.takeFirst());
                        Form27->DBGrid1->setCurrentCell(Form27->DBGrid1->currentRow(), C::Operation);
                        QTest::keyClick(Form27->DBGrid1, Qt::Key_F4);
                        Form27->DBGrid1->enterRow(Form27->DBGrid1->currentRow());
                    }
                    typeRow(row);
                }
                if (c.meanwhile)
                    c.meanwhile();
                save();
                for (int row = 0; row < int(c.rows.size()); ++row) {
                    const bool refused = std::find(c.refusedRows.begin(), c.refusedRows.end(), row) != c.refusedRows.end();
                    EXPECT_EQ(grid(row, C::Refusal), refused ? c.reason : QString()) << c.name << " row " << row;
                }
                EXPECT_EQ(Form27->DBGrid1->currentRow(), c.refusedRows.front()) << c.name;
                EXPECT_EQ(Form27->DBGrid1->rowCount(), int(c.rows.size()) + 1) << c.name;
                fakes->messages.answers = {true};
            });
        });
        EXPECT_EQ(messageTexts().value(0), QStringLiteral("Ошибка: Записи бригады не записаны: отклонено строк — %1.\nСтрока %2: %3")
                                               .arg(c.refusedRows.size())
                                               .arg(c.refusedRows.front() + 1)
                                               .arg(c.reason))
            << c.name;
        EXPECT_EQ(journalCount(), records) << c.name;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.h_tabel"), 0) << c.name;
    }
}

// A grid written at once gives the journal and the timesheet exactly what the record
// editor gives for the same records saved one by one.
TEST_F(BrigadeTest, AGridWritesWhatTheRecordEditorWritesOneByOne)
{
    const struct {
        QString worker, operation, quantity, rejects, hours;
    } records[] = {{"Иванов", "Стол", "12", "1", "8"}, {"Петров", "Стол", "7", "0", "6"}, {"Петров", "Бак", "3", "0", "2"}};
    logIn("8573", [&] {
        Form1->RadioButton3->click();
        Form1->CBox1->setChecked(true);
        inBrigade([&] {
            pickDefaultOperation("Стол");
            for (const auto& r : records) {
                if (r.operation == "Бак") {
                    operationPickedBy("Бак");
                    Form27->DBGrid1->setCurrentCell(Form27->DBGrid1->currentRow(), C::Item);
                    QTest::keyClick(Form27->DBGrid1, Qt::Key_F4);
                    Form27->DBGrid1->enterRow(Form27->DBGrid1->currentRow());
                }
                typeRow({r.worker, r.quantity, r.rejects, r.hours});
            }
            save();
        });
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    const QString fromTheGrid = journalRows(), gridHours = timesheetRows();
    ASSERT_EQ(db->count("select count(*) from accounts_dep.smena"), 3);

    db->exec("delete from accounts_dep.smena");
    db->exec("delete from accounts_dep.h_tabel");
    logIn("8573", [&] {
        // The login starts on shift 1 while the selector still shows shift 3.
        Form1->RadioButton1->click();
        Form1->RadioButton3->click();
        Form1->CBox1->setChecked(true);
        for (const auto& r : records) {
            fakes->modalActions.push_back([&r](QDialog& editor) {
                editor.show();
                Form11->Button3->click();
                Form11->Button4->click();
                Form11->Edit3->setText(r.quantity);
                Form11->Edit4->setText(r.rejects);
                Form11->Edit6->setText(r.hours);
                Form11->Button1->click();
                editor.hide();
                return editor.result();
            });
            fakes->modalActions.push_back(list_test::whileShown([&r](QDialog&) {
                list_test::type(*Form5, r.worker);
                Form5->Button2->click();
            }));
            fakes->modalActions.push_back(list_test::whileShown([&r](QDialog&) {
                list_test::type(*Form4, r.operation);
                Form4->Button2->click();
            }));
            Form1->Button1->click();
        }
    });
    EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
    EXPECT_EQ(journalRows(), fromTheGrid);
    EXPECT_EQ(timesheetRows(), gridHours);
}

// "Бригада" is usable exactly when "Добавить" is: for every role, and whatever disables
// "Добавить" later.
TEST_F(BrigadeTest, TheBrigadeButtonFollowsTheAddButton)
{
    for (const QString code : {"fincal", "brigvex", "vrelk", "8573"}) {
        if (code != "fincal") {
            TearDown();
            SetUp();
        }
        logIn(code, [&] {
            EXPECT_EQ(Form1->Button9->isEnabled(), Form1->Button1->isEnabled()) << code.toStdString();
            EXPECT_EQ(Form1->Button9->isEnabled(), code == "brigvex" || code == "8573") << code.toStdString();
            Form1->Button1->setEnabled(false);
            EXPECT_FALSE(Form1->Button9->isEnabled()) << code.toStdString();
        });
    }
}

// Two workstations writing overlapping brigades: the second waits for the first, its
// overlapping row is refused as a duplicate, and nothing is written twice.
TEST_F(BrigadeTest, TwoWorkstationsWritingTheSameRowsStoreThemOnce)
{
    OtherWorkstation other(*db);
    logIn("8573", [&] {
        inBrigade([&] {
            pickDefaultOperation("Стол");
            typeRow({"ив", "5", "0", "4"});
            typeRow({QString::number(petrov), "6", "0", "4"});  // the worker by his key
            EXPECT_EQ(grid(1, C::Worker), "Петров П.П.");
            other.holdUntilWaitedFor([this](TDataModule6& module) {
                pay::JournalRecord r;
                r.workerId = petrov, r.itemId = j.item, r.operationId = j.operation, r.date = kThursday, r.shift = 1;
                r.entered = kThursday, r.price = 10, r.quantity = 9, r.hours = 3;
                ASSERT_TRUE(record_save::saveAll(module, {r}).empty());
            });
            save();
            EXPECT_EQ(column(C::Refusal), (QStringList{"", kDuplicate, ""}));
            fakes->messages.answers = {true};
        });
    });
    EXPECT_TRUE(other.finish()) << "the save did not wait for the other workstation";
    EXPECT_EQ(db->scalar("select string_agg(w_id||' '||kol_vo, '; ') from accounts_dep.smena"), QStringLiteral("%1 9").arg(petrov));
    EXPECT_EQ(cell(1, kThursday, petrov), "3");
    EXPECT_EQ(cell(1), "<null>");
}

}  // namespace
