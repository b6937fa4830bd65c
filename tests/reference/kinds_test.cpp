#include "data_module.h"
#include "app/journal_window.h"
#include "reference/kind_editor.h"
#include "reference/kinds_window.h"
#include "list_test_support.h"
#include "reference/operation_editor.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace list_test;

namespace {

class KindsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char* vid : {"Сборка", "Покраска", "Сварка"})
            seed->operationKind(QString::fromUtf8(vid));
    }

    QStringList stored() { return db->column("select trim(vid) from accounts_dep.vid_oper order by vid"); }

    // Saves `name` in the editor opened by `button` with the list on `row`.
    void save(QPushButton* button, int row, const QString& name)
    {
        throughMenu(*fakes, Form1->N6, [&] {
            DataModule6->Vid_oper.setRecNo(row);
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                Form9->Edit1->setText(name);
                Form9->Button1->click();
            }));
            button->click();
        });
    }
};

TEST_F(KindsTest, DuplicateNamesAreRefusedWhateverTheirCaseButAKindKeepsItsOwn)
{
    // Rows by vid: Покраска, Сборка, Сварка.
    const struct {
        bool adding;
        int row;
        const char* name;
        bool refused;
    } cases[] = {
        {true, 1, "сБОРКА", true},
        {false, 2, " сборка ", false},  // the kind's own name in another case
        {false, 1, "Сварка", true},
        {true, 1, "  Д'Артаньяна резка  ", false},
        {true, 1, "Резка 50%", false},
    };
    for (const auto& c : cases) {
        fakes->messages.shown.clear();
        save(c.adding ? Form8->Button1 : Form8->Button2, c.row, QString::fromUtf8(c.name));
        EXPECT_EQ(messageTexts(), c.refused ? QStringList({"Ошибка: Такая операция уже заведена!"}) : QStringList()) << c.name;
    }
    EXPECT_EQ(stored(), QStringList({"Д'Артаньяна резка", "Покраска", "Резка 50%", "Сварка", "сборка"}));

    fakes->messages.shown.clear();
    save(Form8->Button1, 1, "   ");
    EXPECT_EQ(messageTexts(), QStringList({"Ошибка: Все поля должны быть заполнены!"}));
}

// In maintenance a double click on a row opens the editor on that kind.
TEST_F(KindsTest, ADoubleClickOnARowChangesThatKind)
{
    throughMenu(*fakes, Form1->N6, [&] {
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            EXPECT_EQ(Form9->windowTitle(), "Изменение данных вида операции");
            EXPECT_EQ(Form9->Edit1->text(), "Сборка");
            Form9->Edit1->setText("Сборка узлов");
            Form9->Button1->click();
        }));
        doubleClickRow(*Form8->DBGrid1, 1);
        EXPECT_EQ(fakes->modalShown.back(), "Form9");
    });
    EXPECT_EQ(stored(), QStringList({"Покраска", "Сборка узлов", "Сварка"}));
}

TEST_F(KindsTest, PickerNarrowsChoosesWithEnterAndLeavesMaintenanceWithEveryKind)
{
    throughMenu(*fakes, Form1->N6, [&] { EXPECT_FALSE(Form8->Edit1->isVisibleTo(Form8)); });
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_TRUE(Form8->Edit1->isVisibleTo(Form8));
        EXPECT_EQ(Form8->Button2->text(), "Выбрать");
        type(*Form8, "св");
        EXPECT_EQ(column(*Form8), QStringList({"Сварка"}));
        QTest::keyClick(Form8->Edit1, Qt::Key_Return);
    }));
    Form10->Button4->click();
    EXPECT_EQ(Form10->Edit2->text(), "Сварка");
    EXPECT_EQ(Form10->KindId, db->count("select id from accounts_dep.vid_oper where vid = 'Сварка'"));
    EXPECT_FALSE(Form8->Edit1->isVisibleTo(Form8));
    EXPECT_FALSE(Form8->Button2->isDefault());
    throughMenu(*fakes, Form1->N6, [&] {
        EXPECT_EQ(column(*Form8).size(), 3);
        EXPECT_EQ(Form8->Button2->text(), "Изменить");
    });

    // Choosing from an empty list hands back nothing chosen.
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        type(*Form8, "нет");
        Form8->DBGrid1DblClick();
    }));
    Form10->Button4->click();
    EXPECT_EQ(Form10->Edit2->text(), "");
    EXPECT_EQ(Form10->KindId, 0);
}

TEST_F(KindsTest, ANameLongerThanItsColumnIsRefusedNamingTheField)
{
    for (int length : {130, 128}) {
        fakes->messages.shown.clear();
        throughMenu(*fakes, Form1->N6, [&] {
            fakes->modalActions.push_back(whileShown([&](QDialog&) {
                QGuiApplication::clipboard()->setText(QString(length, QChar(0x0416)));
                QTest::keyClick(Form9->Edit1, Qt::Key_V, Qt::ControlModifier);
                EXPECT_EQ(Form9->Edit1->text().size(), length);
                Form9->Button1->click();
            }));
            Form8->Button1->click();
        });
        EXPECT_EQ(messageTexts(), length > 128 ? QStringList{"Ошибка: Операция: не больше 128 символов"} : QStringList());
        EXPECT_EQ(stored().size(), length > 128 ? 3 : 4);
    }
}

TEST_F(KindsTest, ARefusedSaveLeavesNothingPendingOnceTheEditorIsCancelled)
{
    throughMenu(*fakes, Form1->N6, [&] {
        fakes->modalActions.push_back(whileShown([&](QDialog&) {
            Form9->Edit1->setText(QString(129, QLatin1Char('x')));  // longer than the column holds
            Form9->Button1->click();
            EXPECT_TRUE(Form9->isVisible());
            Form9->Button2->click();
        }));
        Form8->Button1->click();
        EXPECT_EQ(fakes->messages.shown.size(), 1u);
        fakes->modalActions.push_back(whileShown([&](QDialog&) { EXPECT_EQ(Form9->Edit1->text(), "Сборка"); }));
        DataModule6->Vid_oper.setRecNo(2);  // rows by vid: Покраска, Сборка, Сварка
        Form8->Button2->click();
    });
    EXPECT_EQ(stored().size(), 3);
}

TEST_F(KindsTest, DeleteAsksFirst)
{
    throughMenu(*fakes, Form1->N6, [&] {
        fakes->messages.answers = {false, true};
        Form8->Button3->click();
        EXPECT_EQ(stored().size(), 3);
        Form8->Button3->click();
        EXPECT_EQ(messageTexts().last(), "Удаление: Удалить вид операции?");
        EXPECT_EQ(column(*Form8), QStringList({"Сборка", "Сварка"}));
    });
}

}  // namespace
