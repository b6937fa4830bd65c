// The database server stopped at once and started again while the program stood idle, as
// after a power cut or an administrator's restart. These tests restart the one test
// server, so they run while no other test does (RUN_SERIAL).
#include "journal_fixture.h"
#include "journal/record_editor.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kRestored = "Ошибка: Соединение с сервером было потеряно и восстановлено. Повторите действие.";
const QString kNoConnection = "Ошибка: Нет связи с сервером";

class ServerRestartTest : public JournalFixture {
protected:
    void restartServer()
    {
        db->crashServer();
        db->startServer();
    }
};

// The first read after the restart is sent again on a new connection without a word;
// while the server is away "Обновить" says so in Russian and the journal keeps the
// records it showed, and the 30-second check says it once.
TEST_F(ServerRestartTest, ReadsAfterARestartAreSentAgainAndWhileTheServerIsAwayTheJournalKeepsItsRecords)
{
    record(1, 8);
    logIn("8573", [&] {
        ASSERT_EQ(listedNames(), QStringList{"Иванов И.И."});
        restartServer();
        db->exec("update accounts_dep.smena set time=7");
        Form1->Button8->click();
        EXPECT_EQ(listedNames(), QStringList{"Иванов И.И."});
        EXPECT_EQ(DataModule6->Smena1.fieldByName("time").asInteger(), 7);
        EXPECT_EQ(messageTexts(), QStringList());

        restartServer();
        Form1->Timer1Timer();
        EXPECT_EQ(messageTexts(), QStringList());

        db->crashServer();
        Form1->Button8->click();
        EXPECT_EQ(messageTexts(), QStringList{kNoConnection});
        EXPECT_EQ(listedNames(), QStringList{"Иванов И.И."});
        for (int tick = 0; tick < 2; ++tick)
            Form1->Timer1Timer();
        EXPECT_EQ(messageTexts(), QStringList({kNoConnection, kNoConnection}));

        db->startServer();
        db->exec("update accounts_dep.smena set time=6");
        Form1->Button8->click();
        EXPECT_EQ(DataModule6->Smena1.fieldByName("time").asInteger(), 6);
        EXPECT_EQ(messageTexts().size(), 2);
    });
}

// A write cannot tell whether it reached the server: the first "Запись" after the restart
// says in Russian that the connection was restored, keeps what was typed, and the next
// one saves.
TEST_F(ServerRestartTest, TheFirstWriteAfterARestartIsRefusedInRussianAndTheNextSaves)
{
    record(1, 8);
    bool stayedOpen = false;
    logIn("8573", [&] {
        fakes->modalActions.push_back([&](QDialog& editor) {
            editor.show();
            Form11->Edit3->setText("12");
            restartServer();
            Form11->Button1->click();
            EXPECT_EQ(messageTexts(), QStringList{kRestored});
            stayedOpen = editor.isVisible();
            EXPECT_EQ(Form11->Edit3->text(), "12");
            EXPECT_EQ(db->scalar("select kol_vo from accounts_dep.smena"), "10");
            Form11->Button1->click();
            editor.hide();
            return editor.result();
        });
        Form1->Button2->click();
        EXPECT_EQ(DataModule6->Smena1.fieldByName("kol_vo").asString(), "12");
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(messageTexts(), QStringList{kRestored});
    EXPECT_EQ(db->scalar("select kol_vo from accounts_dep.smena"), "12");
}

}  // namespace
