#include "data_module.h"
#include "reference/item_editor.h"
#include "reference/items_window.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "lookup_combo_box.h"
#include "reference/operation_editor.h"
#include "other_workstation.h"
#include "record_save.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace list_test;

namespace {

class ItemsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        tables = seed->classifierEntry("Столы");
        chairs = seed->classifierEntry("Стулья");
        table = seed->item("Стол СТ-1", tables);
        chair = seed->item("Стул С-2", chairs);
    }

    // "Удалить" on the item in the list opened from the menu.
    void deleteThroughTheList(qint64 item)
    {
        throughMenu(*fakes, Form1->N4, [&] {
            ASSERT_TRUE(DataModule6->Izdel.locate("id", item));
            Form3->Button3->click();
        });
    }

    QStringList brands() { return db->column("select marka from accounts_dep.izdel order by marka"); }

    // The editor opened by `button` with the list on `row`: fills it and saves.
    void save(QPushButton* button, int row, std::function<void()> fill)
    {
        throughMenu(*fakes, Form1->N4, [&] {
            DataModule6->Izdel.setRecNo(row);
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                fill();
                Form7->Button1->click();
            }));
            button->click();
        });
    }

    int tables = 0, chairs = 0, table = 0, chair = 0;
};

TEST_F(ItemsTest, DuplicateBrandsAreRefusedWhateverTheirCaseButAnItemKeepsItsOwn)
{
    const struct {
        bool adding;
        const char* brand;
        const char* refusal;
    } cases[] = {
        {true, "стол ст-1", "Ошибка: Такая марка изделия уже заведена!"},
        {false, "СТОЛ ст-1", nullptr},  // the item's own brand (row 1 is "Стол СТ-1")
        {false, "Стул С-2", "Ошибка: Такая марка изделия уже заведена!"},
        {true, "", "Ошибка: Все поля должны быть заполнены!"},
    };
    for (const auto& c : cases) {
        fakes->messages.shown.clear();
        save(c.adding ? Form3->Button1 : Form3->Button2, 1, [&] {
            Form7->Edit1->setText(QString::fromUtf8(c.brand));
            if (c.adding) {
                Form7->Edit2->setText("2");
                Form7->cb_item->setCurrentIndex(0);
            }
        });
        EXPECT_EQ(messageTexts(), c.refusal ? QStringList({QString::fromUtf8(c.refusal)}) : QStringList()) << c.brand;
    }
    EXPECT_EQ(brands(), QStringList({"СТОЛ ст-1", "Стул С-2"}));
}

TEST_F(ItemsTest, AddWritesTheCatalogueRowWithTheTypedNumberAndTheLastClassifierChoice)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    DataModule6->DbDelimiter = ".";
    // Changing the chair shows its stored mass with the regional separator and its entry.
    save(Form3->Button2, 2, [&] {
        EXPECT_EQ(Form7->Edit1->text(), "Стул С-2");
        EXPECT_EQ(Form7->Edit2->text(), "1,5");
        EXPECT_EQ(Form7->cb_item->currentText(), "Стулья");
        Form7->Edit2->setText("2,25");
    });
    EXPECT_EQ(db->scalar(QStringLiteral("select massa from accounts_dep.izdel where id = %1").arg(chair)), "2.250000");

    save(Form3->Button1, 1, [&] {
        EXPECT_EQ(Form7->windowTitle(), "Заведение нового изделия");
        EXPECT_EQ(Form7->cb_item->currentText(), "Стулья");
        Form7->Edit1->setText("  Шкаф 'Ш-1'  ");
        QTest::keyClicks(Form7->Edit2, "3x,7a.");
        EXPECT_EQ(Form7->Edit2->text(), "3x,7a.");  // what was typed, refused by the save
        Form7->Edit2->setText("3,7");
    });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(db->scalar("select massa || ' ' || id_class_item || ' ' || id_msm_bs || '/' || s_description || '/' "
                         "from cmn_gds_and_srv.gds_and_srv where s_caption = 'Шкаф ''Ш-1'''"),
              QStringLiteral("3.700000 %1 6//").arg(chairs));
}

// The brand and the number are checked against their catalogue columns before the
// statement runs; a refusal names the field and writes nothing.
TEST_F(ItemsTest, BrandAndNumberAreCheckedBeforeTheyAreWritten)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    struct Case {
        QString brand;
        QString mass;
        QString message;
    } cases[] = {
        {QString(255, 'A'), "1", "Ошибка: Марка: не больше 254 символов"},
        {"Шкаф", ".", "Ошибка: Расценка: нужно число"},
        {"Шкаф", "1,2.3", "Ошибка: Расценка: нужно число"},
        {"Шкаф", "-1", "Ошибка: Расценка: число не может быть отрицательным"},
        {"Шкаф", "1,1234567", "Ошибка: Расценка: не больше 6 знаков после запятой"},
        {"Шкаф", "7.78e299", "Ошибка: Расценка: нужно число"},
        {"Шкаф", "1000001", "Ошибка: Расценка: число слишком большое (не больше 1000000)"},
        {QString(254, 'A'), "1,5", {}},
        {"Шкаф", "2.75", {}},
    };
    for (const Case& c : cases) {
        fakes->messages.shown.clear();
        save(Form3->Button1, 1, [&] {
            QGuiApplication::clipboard()->setText(c.brand);
            Form7->Edit1->clear();
            QTest::keyClick(Form7->Edit1, Qt::Key_V, Qt::ControlModifier);
            Form7->Edit2->clear();
            QTest::keyClicks(Form7->Edit2, c.mass);
            EXPECT_EQ(Form7->Edit2->text(), c.mass);
            Form7->cb_item->setKeyValue(tables);
        });
        EXPECT_EQ(messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message}) << c.mass.toStdString();
        EXPECT_EQ(db->count(QStringLiteral("select count(*) from cmn_gds_and_srv.gds_and_srv where s_caption = '%1'").arg(c.brand)),
                  c.message.isEmpty() ? 1 : 0)
            << c.mass.toStdString();
    }
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(db->column("select massa from cmn_gds_and_srv.gds_and_srv where s_caption = 'Шкаф'"), QStringList{"2.750000"});
}

// Whatever decimal separator the database's stamp table names, the statement carries a
// full stop: a comma would split the mass into two values.
TEST_F(ItemsTest, APastedCommaInTheMassIsWrittenAsAFullStopWhateverTheDatabaseSeparator)
{
    const std::pair<QString, QString> delimiters[] = {{".", "Паста-1"}, {",", "Паста-2"}, {"", "Паста-3"}};
    for (const auto& [delimiter, brand] : delimiters) {
        DataModule6->DbDelimiter = delimiter;
        save(Form3->Button1, 1, [&] {
            Form7->Edit1->setText(brand);
            Form7->cb_item->setCurrentIndex(0);
            Form7->Edit2->insert("1,5");  // as a paste puts it in, past the key filter
            EXPECT_EQ(Form7->Edit2->text(), "1,5");
        });
        EXPECT_TRUE(fakes->messages.shown.empty()) << messageTexts().join('\n').toStdString();
        EXPECT_EQ(db->scalar(QStringLiteral("select massa from cmn_gds_and_srv.gds_and_srv where s_caption = '%1'").arg(brand)),
                  "1.500000")
            << delimiter.toStdString();
    }
}

// The message boxes of the test, each shown as a window of its own that takes the focus
// until it is closed, as a real one does.
class WindowedMessages : public seams::MessageBoxes {
public:
    explicit WindowedMessages(FakeMessageBoxes& recorded) : recorded_(recorded) { seams::setMessageBoxes(this); }
    ~WindowedMessages() override { seams::setMessageBoxes(&recorded_); }

    void error(QWidget* parent, const QString& text, const QString& caption) override
    {
        recorded_.error(parent, text, caption);
        QDialog box;
        box.show();
        list_test::activateAgain(box);
        box.hide();
        list_test::activateAgain(*parent->window());
    }
    bool confirm(QWidget* parent, const QString& text, const QString& caption) override
    {
        return recorded_.confirm(parent, text, caption);
    }

private:
    FakeMessageBoxes& recorded_;
};

// After a refusal the cursor stands in the box the message names, once the message box
// has closed, whichever box the user pressed Enter in.
TEST_F(ItemsTest, ARefusalLeavesTheCursorInTheFieldItNames)
{
    const struct {
        QString brand, mass;
        QString message;
        QLineEdit* TForm7::*named;
    } cases[] = {
        {"Шкаф", "1,2.3", "Ошибка: Расценка: нужно число", &TForm7::Edit2},
        {QString(255, 'A'), "1", "Ошибка: Марка: не больше 254 символов", &TForm7::Edit1},
    };
    for (const auto& c : cases) {
        fakes->messages.shown.clear();
        throughMenu(*fakes, Form1->N4, [&] {
            fakes->modalActions.push_back(whileActive([&](QDialog&) {
                const WindowedMessages windowed(fakes->messages);
                Form7->Edit1->setText(c.brand);
                Form7->Edit2->setText(c.mass);
                Form7->cb_item->setKeyValue(tables);
                for (QLineEdit* pressedIn : {Form7->Edit1, Form7->Edit2}) {
                    pressedIn->setFocus();
                    QTest::keyClick(pressedIn, Qt::Key_Return);
                    EXPECT_EQ(QApplication::focusWidget(), Form7->*c.named) << c.message.toStdString();
                }
            }));
            Form3->Button1->click();
        });
        EXPECT_EQ(messageTexts(), QStringList({c.message, c.message}));
    }
}

TEST_F(ItemsTest, DeleteAsksAboutOperationsThenJournalAndRemovesWhatWasAgreed)
{
    const int kind = seed->operationKind("Сборка");
    const int worker = seed->worker("Иванов И.И.");
    const struct {
        const char* name;
        bool withOperation, withRecord;
        std::deque<bool> answers;
        QStringList questions;
        bool operationsLeft, recordsLeft, itemLeft;
    } cases[] = {
        {"operations, yes yes", true, false, {true, true},
         {"По изделию есть расценки они будут удалены!!!", "Удалить изделие? "}, false, false, false},
        // Declining the prices keeps the item: it would otherwise leave them pointing at nothing.
        {"operations declined, item kept", true, false, {false},
         {"По изделию есть расценки они будут удалены!!!", "Изделие не удалено: по нему остаются расценки."}, true, false,
         true},
        {"operations declined, item kept although its deletion would be agreed", true, true, {false, true},
         {"По изделию есть расценки они будут удалены!!!", "Изделие не удалено: по нему остаются расценки."}, true, true,
         true},
        {"old journal records", false, true, {true},
         {"По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут удалены. Удалить изделие? "},
         false, false, false},
        {"journal declined", false, true, {false},
         {"По изделию есть операции в текущем, предыдущем месяцах и ранее, они будут удалены. Удалить изделие? "},
         false, true, true},
    };
    for (const auto& c : cases) {
        const int item = seed->item("Полка П-1");
        if (c.withOperation)
            seed->operation(item, kind);
        if (c.withRecord) {
            Seed::Record r;
            r.worker = worker;
            r.item = item;
            r.date = QDate(2003, 5, 6);  // years old, still counted
            seed->record(r);
        }
        fakes->messages.shown.clear();
        fakes->messages.answers = c.answers;
        throughMenu(*fakes, Form1->N4, [&] {
            ASSERT_TRUE(DataModule6->Izdel.locate("id", item));
            Form3->Button3->click();
            EXPECT_EQ(DataModule6->Izdel.recNo(), 1);
        });
        QStringList questions;
        for (const ShownMessage& m : fakes->messages.shown)
            questions << m.text;
        EXPECT_EQ(questions, c.questions) << c.name;
        const QString where = QStringLiteral(" where i_id = %1").arg(item);
        EXPECT_EQ(db->count("select count(*) from accounts_dep.oper" + where) > 0, c.operationsLeft) << c.name;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.smena" + where) > 0, c.recordsLeft) << c.name;
        EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.izdel where id = %1").arg(item)) > 0, c.itemLeft)
            << c.name;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.norm where o_id not in (select id from accounts_dep.oper)"), 0)
            << c.name << ": norm rows left without their operation";
        db->exec("delete from accounts_dep.norm where o_id in (select id from accounts_dep.oper" + where + ")");
        db->exec("delete from accounts_dep.oper" + where);
        db->exec("delete from accounts_dep.smena" + where);
        db->exec(QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv where id = %1").arg(item));
    }
}

// The item's journal records go with it, and so do the hours they put into the
// timesheet: every cell they touched (worker, shift, date) gets the hours left by the
// worker's other records, or none. The other cells of the rows stay as they were.
TEST_F(ItemsTest, DeletingAnItemTakesTheHoursOfItsRecordsOutOfTheTimesheet)
{
    const int kind = seed->operationKind("Сборка");
    const int worker = seed->worker("Иванов И.И.");
    const int shelf = seed->item("Полка П-1");
    const int shelfAssembly = seed->operation(shelf, kind);
    const int tableAssembly = seed->operation(table, kind);
    const auto record = [&](int item, int operation, int day, int shift, int hours) {
        Seed::Record r;
        r.worker = worker;
        r.item = item;
        r.operation = operation;
        r.date = QDate(2026, 11, day);
        r.shift = shift;
        r.hours = hours;
        seed->record(r);
    };
    record(shelf, shelfAssembly, 3, 1, 5);
    record(table, tableAssembly, 3, 1, 2);  // stays: the cell keeps its 2 hours
    record(shelf, shelfAssembly, 4, 2, 7);  // the only record of its cell: the cell empties
    db->exec(QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d3, d5) values (%1, 1, 11, 2026, 7, 8)")
                 .arg(worker));
    db->exec(QStringLiteral("insert into accounts_dep.h_tabel (w_id, smena, month, year, d4) values (%1, 2, 11, 2026, 7)").arg(worker));

    fakes->messages.answers = {true, true};
    deleteThroughTheList(shelf);
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.smena where i_id = %1").arg(shelf)), 0);
    EXPECT_EQ(db->count("select count(*) from accounts_dep.smena"), 1);
    EXPECT_EQ(db->column("select smena || ': ' || coalesce(d3::text, '-') || ' ' || coalesce(d4::text, '-') || ' ' || "
                         "coalesce(d5::text, '-') from accounts_dep.h_tabel order by smena"),
              QStringList({"1: 2 - 8", "2: - - -"}));
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.norm where o_id = %1").arg(shelfAssembly)), 0);
}

// A save for the item under way on another workstation when the item is deleted finishes
// first. The deletion then finds a record the user was not asked about and keeps the item;
// asked again, the user agrees and the record goes with the item, its hours with it.
TEST_F(ItemsTest, AnItemDeletedWhileAnotherWorkstationSavesForItGoesOnlyWithThatRecordAgreed)
{
    const int kind = seed->operationKind("Сборка");
    const int worker = seed->worker("Иванов И.И.");
    const int operation = seed->operation(chair, kind);
    OtherWorkstation other(*db);
    other.holdUntilWaitedFor([&](TDataModule6& module) {
        pay::JournalRecord r;
        r.workerId = worker;
        r.itemId = chair;
        r.operationId = operation;
        r.shift = 1;
        r.date = QDate(2026, 12, 9);
        r.entered = r.date;
        r.price = 10;
        r.quantity = 1;
        r.hours = 6;
        ASSERT_EQ(record_save::save(module, r).outcome, record_save::Outcome::Saved);
    });
    // The list was read before the record was saved: no question about the journal.
    fakes->messages.answers = {true, true};
    deleteThroughTheList(chair);
    EXPECT_TRUE(other.finish()) << "the deletion did not wait for the save";
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.izdel where id = %1").arg(chair)), 1)
        << "an item with a record nobody was asked about is kept";
    EXPECT_EQ(messageTexts().last(), "Ошибка: Изделие не удалено: по нему появились записи журнала. Повторите удаление.");

    // Asked again, the user sees the record and agrees.
    fakes->messages.answers = {true, true};
    deleteThroughTheList(chair);
    EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.izdel where id = %1").arg(chair)), 0);
    EXPECT_EQ(db->count("select count(*) from accounts_dep.smena"), 0);
    EXPECT_EQ(db->scalar("select coalesce(d9::text, '-') from accounts_dep.h_tabel"), "-");
}

TEST_F(ItemsTest, KeysBeyondThirtyTwoBitsDeleteTheirOwnItemAndHandThemselvesBack)
{
    // 4294968297 is 1001 past 2^32: read as 32 bits it would be item 1001.
    db->exec("insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item) "
             "values (1001, 'Тумба ТБ-1', '', 6, 1, null)");
    seed->operation(1001, seed->operationKind("Сборка"));
    for (const qint64 key : {Q_INT64_C(4294968297), Q_INT64_C(3000000001)}) {
        db->exec(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, "
                                "id_class_item) values (%1, 'Шкаф ШК-%1', '', 6, 1, null)")
                     .arg(key));
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            type(*Form3, QStringLiteral("Шкаф ШК-%1").arg(key));
            Form3->Button2->click();
        }));
        Form10->Button3->click();
        EXPECT_EQ(Form10->ItemId, key);

        fakes->messages.shown.clear();
        deleteThroughTheList(key);
        EXPECT_EQ(messageTexts(), QStringList({"Удаление: Удалить изделие? "})) << key;
        EXPECT_EQ(db->count(QStringLiteral("select count(*) from accounts_dep.izdel where id = %1").arg(key)), 0) << key;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.izdel where id = 1001"), 1) << key;
        EXPECT_EQ(db->count("select count(*) from accounts_dep.oper where i_id = 1001"), 1) << key;
    }
}

// In maintenance a double click on a row opens the editor on that item; the list stays on
// the row's position after the save.
TEST_F(ItemsTest, ADoubleClickOnARowChangesThatItem)
{
    throughMenu(*fakes, Form1->N4, [&] {
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            EXPECT_EQ(Form7->windowTitle(), "Изменение данных изделия");
            EXPECT_EQ(Form7->Edit1->text(), "Стул С-2");
            Form7->Edit1->setText("Стул С-3");
            Form7->Button1->click();
        }));
        doubleClickRow(*Form3->DBGrid1, 1);
        EXPECT_EQ(fakes->modalShown.back(), "Form7");
        EXPECT_EQ(DataModule6->Izdel.recNo(), 2);
        EXPECT_EQ(current(*Form3), "Стул С-3");
    });
    EXPECT_EQ(brands(), QStringList({"Стол СТ-1", "Стул С-3"}));
}

TEST_F(ItemsTest, PickerHandsBackToTheOperationEditorAndMaintenanceCanEmptyItsSearch)
{
    seed->item("Стол 100%");
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_TRUE(Form3->Edit1->isVisibleTo(Form3));
        type(*Form3, "стол 1");
        EXPECT_EQ(column(*Form3), QStringList({"Стол 100%"}));
        QTest::keyClick(Form3->Edit1, Qt::Key_Backspace);
        QTest::keyClick(Form3->Edit1, Qt::Key_Left);  // edits as usual here
        QTest::keyClick(Form3->Edit1, Qt::Key_Delete);
        EXPECT_EQ(Form3->Edit1->text(), "стол");
        type(*Form3, " 100%");
        Form3->Button2->click();
    }));
    Form10->Button3->click();
    EXPECT_EQ(Form10->Edit1->text(), "Стол 100%");
    EXPECT_FALSE(Form3->Button2->isDefault());
    // The menu shows the list as the picker's search left it, with the box to empty it.
    throughMenu(*fakes, Form1->N4, [&] {
        ASSERT_TRUE(Form3->Edit1->isVisibleTo(Form3));
        EXPECT_EQ(Form3->Edit1->text(), "стол 100%");
        EXPECT_EQ(column(*Form3), QStringList({"Стол 100%"}));
        EXPECT_EQ(Form3->DBGrid1->columnWidth(0), 315);
        Form3->Edit1->selectAll();
        QTest::keyClick(Form3->Edit1, Qt::Key_Backspace);
        EXPECT_EQ(column(*Form3), QStringList({"Стол 100%", "Стол СТ-1", "Стул С-2"}));
    });
}

}  // namespace
