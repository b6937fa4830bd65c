#include "app_fixture.h"
#include "data_module.h"
#include "app/journal_window.h"
#include "app/login_window.h"
#include "app/version_check.h"

#include <QTimer>

namespace {

TEST(BuildStamp, BecomesDateAndSecondsNumbers)
{
    EXPECT_EQ(buildStampNumbers({"Feb 12 2024", "16:25:28"}).date, 20240212);
    EXPECT_EQ(buildStampNumbers({"Feb 12 2024", "16:25:28"}).time, 59128);
    EXPECT_EQ(buildStampNumbers({"Dec  3 2026", "00:00:07"}).date, 20261203);
    EXPECT_EQ(buildStampNumbers({"Dec  3 2026", "00:00:07"}).time, 7);
}

class VersionCheckTest : public AppFixture {
protected:
    QString storedStamp() { return db->scalar("select d || '.' || t from accounts_dep.ver"); }
};

// The program is built 20240212 at 59128 seconds.
TEST_F(VersionCheckTest, ComparesStampsAsDateThenTime)
{
    struct Case {
        int d, t;
        const char* after;
        bool mismatch;
    };
    const Case cases[] = {
        {20240212, 59128, "20240212.59128", false},  // equal: nothing written
        {20240211, 86000, "20240212.59128", false},  // the day before, later in the day: raised
        {20240212, 59000, "20240212.59128", false},  // same day, earlier: raised
        {20240212, 59129, "20240212.59129", true},   // one second newer: this program is old
        {20240213, 0, "20240213.0", true},
    };
    for (const Case& c : cases) {
        db->exec("delete from accounts_dep.ver");
        db->exec(QStringLiteral("insert into accounts_dep.ver (d, t, delim) values (%1, %2, '.')").arg(c.d).arg(c.t));
        fakes->messages.shown.clear();
        fakes->programEndRequests = 0;
        Form23->Timer1->stop();

        CheckVersion();

        EXPECT_EQ(storedStamp(), c.after) << c.d << " " << c.t;
        EXPECT_EQ(Form1->BuildDate, 20240212);
        EXPECT_EQ(Form1->BuildTime, 59128);
        EXPECT_EQ(DataModule6->DbDelimiter, ".");
        EXPECT_FALSE(Form1->ver.isOpen());
        if (c.mismatch) {
            EXPECT_EQ(messageTexts(), QStringList({"Ошибка: Версия программы не соответсвует БД! Запустите программу через 5 мин."}));
            EXPECT_EQ(fakes->programEndRequests, 1);
            EXPECT_TRUE(Form23->Timer1->isActive());
            EXPECT_EQ(Form23->Timer1->interval(), 5000);
        } else {
            EXPECT_TRUE(fakes->messages.shown.empty());
            EXPECT_EQ(fakes->programEndRequests, 0);
            EXPECT_FALSE(Form23->Timer1->isActive());
        }
    }
}

TEST_F(VersionCheckTest, EmptyStampTableGetsTheProgramsStamp)
{
    CheckVersion();
    EXPECT_EQ(storedStamp(), "20240212.59128");
    EXPECT_EQ(db->scalar("select coalesce(delim, '<null>') from accounts_dep.ver"), "<null>");
    EXPECT_EQ(DataModule6->DbDelimiter, QString());
}

TEST_F(VersionCheckTest, LoginActivationChecksThenShowsTheBuildInTheCaption)
{
    Form23->FormActivate();
    EXPECT_EQ(Form23->windowTitle(), "Авторизация (build: 20240212.59128)");
}

TEST_F(VersionCheckTest, OldProgramEndsAtTheNextTimerTick)
{
    db->exec("insert into accounts_dep.ver (d, t, delim) values (20240212, 59128, '.')");
    Form1->Timer1Timer();
    EXPECT_EQ(fakes->programEndRequests, 0);

    db->exec("update accounts_dep.ver set d = 20250101");  // a newer build has started elsewhere
    Form1->Timer1Timer();
    EXPECT_EQ(fakes->programEndRequests, 1);
}

TEST_F(VersionCheckTest, RepeatingDatabaseErrorDoesNotPileUpMessageBoxes)
{
    db->exec("alter table accounts_dep.ver rename to ver_gone");
    // A tick while the first error box is still open finds the check busy.
    struct NestedTick : FakeMessageBoxes {
        int nested = 0;
        void error(QWidget* parent, const QString& text, const QString& caption) override
        {
            FakeMessageBoxes::error(parent, text, caption);
            if (nested++ == 0)
                Form1->Timer1Timer();
        }
    } boxes;
    seams::setMessageBoxes(&boxes);
    Form1->Timer1Timer();
    seams::setMessageBoxes(&fakes->messages);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains("ver")) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(fakes->programEndRequests, 0);
    EXPECT_FALSE(Form1->ver.isOpen());
}

}  // namespace
