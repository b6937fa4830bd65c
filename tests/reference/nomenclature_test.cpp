#include "list_test_support.h"
#include "reference/nomenclature_picker.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace list_test;

namespace {

class NomenclatureTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char* caption : {"  Краска МА-15 ", "Кран шаровой", "Болт М8"})
            seed->classifierEntry(QString::fromUtf8(caption));
        db->exec("insert into cmn_classifier.item (id, id_level, s_caption) values (900, 3, 'Кра уровня 3')");
        Form26->setReceiver([this](qint64 id, const QString& caption) {
            chosenId = id;
            chosenCaption = caption;
        });
    }

    qint64 chosenId = -1;
    QString chosenCaption;
};

TEST_F(NomenclatureTest, SearchKeepsItsTextBetweenShowingsAndEnterChoosesNothing)
{
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_EQ(Form26->windowTitle(), "Номенклатура (26)");
        EXPECT_EQ(column(*Form26).size(), 3);
        type(*Form26, "кра");
        EXPECT_EQ(column(*Form26), QStringList({"Кран шаровой"}));
        QTest::keyClick(Form26->Edit1, Qt::Key_Return);
        EXPECT_TRUE(Form26->isVisible());
    }));
    Form26->showAsPicker();
    EXPECT_EQ(chosenId, -1);
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        EXPECT_EQ(Form26->Edit1->text(), "кра");
        EXPECT_EQ(column(*Form26), QStringList({"Кран шаровой"}));
        Form26->Edit1->clear();
        type(*Form26, "  К");
        doubleClickRow(*Form26->DBGrid1, 0);
    }));
    Form26->showAsPicker();
    EXPECT_EQ(chosenCaption, "  Краска МА-15 ");  // as stored
    EXPECT_GT(chosenId, 0);
}

TEST_F(NomenclatureTest, ChoosingFromAnEmptyListHandsBackNothingChosen)
{
    fakes->modalActions.push_back(whileShown([&](QDialog&) {
        type(*Form26, "Шуруп");
        Form26->Button1->click();
        EXPECT_FALSE(Form26->isVisible());
    }));
    Form26->showAsPicker();
    EXPECT_EQ(chosenId, 0);
    EXPECT_EQ(chosenCaption, "");
}

}  // namespace
