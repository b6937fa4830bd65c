#include "data_module.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "lookup_combo_box.h"
#include "reference/worker_editor.h"
#include "reference/workers_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

using namespace list_test;

namespace {

class WorkersTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char* fio : {"Иванов И.И.", "иванова А.А.", "О'Брайен П.", "Петров 100% П.", "Петров_В.", "Сидоров С.С."})
            seed->worker(QString::fromUtf8(fio));
    }

    // The menu item "Рабочие" with `act` done on the shown list.
    void fromMenu(std::function<void()> act)
    {
        fakes->modalActions.push_back(whileShown([act](QDialog&) { act(); }));
        Form1->N3->trigger();
    }

    QStringList stored() { return db->column("select fio from accounts_dep.person order by fio"); }
};

TEST_F(WorkersTest, SearchNarrowsByLiteralPrefixIgnoringCaseAndPersistsFromTheMenu)
{
    const struct {
        const char* typed;
        QStringList listed;
    } cases[] = {
        {"ИВАН", {"Иванов И.И.", "иванова А.А."}},
        {"о'", {"О'Брайен П."}},
        {"Петров 100%", {"Петров 100% П."}},
        {"Петров_", {"Петров_В."}},
        {"Петров%", {}},
        {"x' or fio like '%", {}},  // typed text, never more of the filter
    };
    fromMenu([&] {
        EXPECT_EQ(Form5->focusWidget(), Form5->Edit1);
        EXPECT_EQ(Form5->windowTitle(), "Список рабочих");
        EXPECT_EQ(Form5->DBGrid1->columnWidth(0), 300);
        for (const auto& c : cases) {
            Form5->Edit1->clear();
            type(*Form5, QString::fromUtf8(c.typed));
            EXPECT_EQ(column(*Form5), c.listed) << c.typed;
        }
        Form5->Edit1->clear();
        EXPECT_EQ(column(*Form5).size(), 6);
        type(*Form5, "Пет");
    });
    EXPECT_FALSE(DataModule6->Workers.isOpen());
    fromMenu([&] {
        EXPECT_EQ(Form5->Edit1->text(), "Пет");
        EXPECT_EQ(column(*Form5), QStringList({"Петров 100% П.", "Петров_В."}));
        EXPECT_EQ(Form5->Button2->text(), "Изменить");
        EXPECT_TRUE(Form5->Button1->isDefault());
    });
    // A picker starts with an empty box and every worker.
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_EQ(Form5->Edit1->text(), "");
        EXPECT_EQ(column(*Form5).size(), 6);
    }));
    Form5->showAsPicker(1);
}

TEST_F(WorkersTest, SearchBoxKeysMoveTheListAndTakeOnlyCharacters)
{
    fromMenu([&] {
        type(*Form5, "Пет");
        EXPECT_EQ(current(*Form5), "Петров 100% П.");
        QTest::keyClick(Form5->Edit1, Qt::Key_Down);
        EXPECT_EQ(current(*Form5), "Петров_В.");
        QTest::keyClick(Form5->Edit1, Qt::Key_Up);
        EXPECT_EQ(current(*Form5), "Петров 100% П.");
        QTest::keyClick(Form5->Edit1, Qt::Key_Left);
        QTest::keyClick(Form5->Edit1, Qt::Key_Home);
        QTest::keyClick(Form5->Edit1, Qt::Key_Delete);
        EXPECT_EQ(Form5->Edit1->text(), "Пет");
        QTest::keyClick(Form5->Edit1, Qt::Key_Backspace);
        EXPECT_EQ(Form5->Edit1->text(), "Пе");
        // Enter in maintenance opens the add dialog.
        QTest::keyClick(Form5->Edit1, Qt::Key_Return);
        EXPECT_EQ(fakes->modalShown.back(), "Form2");
        EXPECT_EQ(Form2->windowTitle(), "Заведение данных нового работника");
        // Escape leaves through "Выход".
        QTest::keyClick(Form5->Edit1, Qt::Key_Escape);
        EXPECT_FALSE(Form5->isVisible());
    });
}

TEST_F(WorkersTest, PickerHandsBackIntoTheEditorOfItsTag)
{
    struct Received {
        QString fio;
        int id = 0;
        int calls = 0;
    } shift, household;
    Form5->setReceiver(1, [&](const QString& fio, int id) { shift = {fio, id, shift.calls + 1}; });
    Form5->setReceiver(24, [&](const QString& fio, int id) { household = {fio, id, household.calls + 1}; });
    const int padded = seed->worker("  Яковлев Я.Я.  ");

    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_EQ(Form5->Button2->text(), "Выбрать");
        EXPECT_FALSE(Form5->Button1->isVisibleTo(Form5));
        EXPECT_FALSE(Form5->Button3->isVisibleTo(Form5));
        type(*Form5, "  Я");
        QTest::keyClick(Form5->Edit1, Qt::Key_Return);  // Enter chooses
        EXPECT_FALSE(Form5->isVisible());
    }));
    Form5->showAsPicker(24);
    EXPECT_EQ(household.fio, "Яковлев Я.Я.");
    EXPECT_EQ(household.id, padded);
    EXPECT_EQ(shift.calls, 0);
    EXPECT_FALSE(DataModule6->Workers.isOpen());

    // A double click chooses for the shift record editor; an empty list hands nothing back.
    fakes->modalActions.push_back(whileShown([&](QDialog&) { doubleClickCurrentRow(*Form5); }));
    Form5->showAsPicker(1);
    EXPECT_EQ(shift.fio, "Яковлев Я.Я.");
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        type(*Form5, "Нет такого");
        Form5->Button2->click();
        EXPECT_FALSE(Form5->isVisible());
    }));
    Form5->showAsPicker(1);
    EXPECT_EQ(shift.calls, 1);
    EXPECT_EQ(household.calls, 1);
}

TEST_F(WorkersTest, EditorStoresTrimmedNamesAsTypedAndRefusesBlankOnes)
{
    db->exec("insert into hrms_staffpos.staffpos (id, s_caption) values (1, 'Сварщик'), (2, 'Маляр')");
    db->exec("insert into cmn_department.department (id, s_caption) values (1, 'Цех №2')");
    fromMenu([&] {
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            Form2->Edit1->setText("   ");
            Form2->Button1->click();
            EXPECT_TRUE(Form2->isVisible());
            Form2->Edit1->setText("  Д'Артаньян Ш.  ");
            Form2->LCB_staffpos->setKeyValue(2);
            Form2->Button1->click();
        }));
        Form5->Button1->click();
        EXPECT_EQ(messageTexts(), QStringList({"Ошибка: ФИО нужно заполнить!"}));
        EXPECT_EQ(column(*Form5).size(), 7);
        EXPECT_EQ(DataModule6->Workers.recNo(), 1);
    });
    EXPECT_EQ(db->scalar("select s_staffpos_hl from accounts_dep.person where fio = 'Д''Артаньян Ш.'"), "Маляр");
}

TEST_F(WorkersTest, ChangeKeepsTheRowPositionAndTheEditorsLookupChoice)
{
    db->exec("insert into hrms_staffpos.staffpos (id, s_caption) values (1, 'Маляр'), (2, 'Сварщик')");
    fromMenu([&] {
        DataModule6->Workers.setRecNo(2);
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            EXPECT_EQ(Form2->Edit1->text(), "О'Брайен П.");
            EXPECT_EQ(Form2->windowTitle(), "Изменение данных работника");
            Form2->LCB_staffpos->setFocus();
            Form2->LCB_staffpos->setKeyValue(1);
            // The wheel over the dialog steps the focused lookup.
            QWheelEvent down(QPointF(5, 5), QPointF(5, 5), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                             Qt::NoScrollPhase, false);
            QApplication::sendEvent(Form2, &down);
            EXPECT_EQ(Form2->LCB_staffpos->currentText(), "Сварщик");
            Form2->Edit1->setText("Абрамов А.А.");
            Form2->Button1->click();
        }));
        Form5->Button2->click();
        EXPECT_TRUE(Form5->isVisible());
        EXPECT_EQ(DataModule6->Workers.recNo(), 2);
        EXPECT_EQ(column(*Form5).first(), "Абрамов А.А.");
        // The editor keeps its lookup choice for the next showing.
        fakes->modalActions.push_back(whileShown([&](QDialog&) { EXPECT_EQ(Form2->LCB_staffpos->currentText(), "Сварщик"); }));
        Form5->Button1->click();
    });
    EXPECT_EQ(db->scalar("select s_staffpos_hl from accounts_dep.person where fio = 'Абрамов А.А.'"), "Сварщик");
}

TEST_F(WorkersTest, ChangingTheNameKeepsTheStoredPositionUnlessAnotherIsPicked)
{
    db->exec("insert into hrms_staffpos.staffpos (id, s_caption) values (1, 'Маляр'), (2, 'Сварщик')");
    const int painter = seed->worker("Абрамов А.А.", "Маляр");
    const int ivanov = db->count("select id from accounts_dep.person where fio = 'Иванов И.И.'");  // "Цех №1"
    const struct {
        int worker;
        const char* name;
        int downPresses;     // in the position lookup
        const char* shown;   // what the lookup shows when the editor opens
        const char* stored;  // the position after saving
    } cases[] = {
        {painter, "Абрамов Б.Б.", 0, "Маляр", "Маляр"},
        {ivanov, "Иванов И.К.", 0, "", "Цех №1"},  // no entry has that caption
        {ivanov, "Иванов И.Л.", 2, "", "Сварщик"},
    };
    for (const auto& c : cases) {
        fromMenu([&] {
            ASSERT_TRUE(DataModule6->Workers.locate("id", c.worker));
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                EXPECT_EQ(Form2->LCB_staffpos->currentText(), QString::fromUtf8(c.shown)) << c.name;
                Form2->Edit1->setText(QString::fromUtf8(c.name));
                for (int i = 0; i < c.downPresses; ++i)
                    QTest::keyClick(Form2->LCB_staffpos, Qt::Key_Down);
                Form2->Button1->click();
            }));
            Form5->Button2->click();
        });
        EXPECT_EQ(db->scalar(QStringLiteral("select fio || ': ' || s_staffpos_hl from accounts_dep.person where id = %1").arg(c.worker)),
                  QString::fromUtf8(c.name) + ": " + QString::fromUtf8(c.stored));
    }
}

TEST_F(WorkersTest, ChangingWithNothingListedOpensNoEditor)
{
    fromMenu([&] {
        type(*Form5, "Я");  // no worker's name starts so
        Form5->Button2->click();
        Form5->DBGrid1DblClick();
    });
    EXPECT_EQ(fakes->modalShown.back(), "Form5");
    EXPECT_TRUE(fakes->messages.shown.empty());
}

TEST_F(WorkersTest, SearchBoxHasTheFocusAgainWhenTheListIsBackFromTheEditor)
{
    fakes->modalActions.push_back(whileActive([&](QDialog&) {
        Form5->Button1->setFocus();
        fakes->modalActions.push_back(whileActive([](QDialog&) {}));
        Form5->Button1->click();
        activateAgain(*Form5);
        EXPECT_EQ(Form5->focusWidget(), Form5->Edit1);
    }));
    Form1->N3->trigger();
}

TEST_F(WorkersTest, DeleteAsksAndKeepsThePosition)
{
    fromMenu([&] {
        DataModule6->Workers.setRecNo(2);
        fakes->messages.answers = {false};
        Form5->Button3->click();
        EXPECT_EQ(stored().size(), 6);
        Form5->Button3->click();
        EXPECT_EQ(messageTexts().last(), "Удаление: Удалить работника?");
        EXPECT_FALSE(stored().contains("О'Брайен П."));
        EXPECT_EQ(DataModule6->Workers.recNo(), 2);
        DataModule6->Workers.last();
        Form5->Button3->click();
        EXPECT_EQ(DataModule6->Workers.recNo(), 1);
        EXPECT_TRUE(Form5->isVisible());
    });
    EXPECT_EQ(stored().size(), 4);
}

}  // namespace
