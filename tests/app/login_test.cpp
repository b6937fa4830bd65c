#include "app_fixture.h"
#include "data_grid.h"
#include "data_module.h"
#include "app/journal_window.h"
#include "list_test_support.h"
#include "app/login_window.h"
#include "date_box.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

class LoginTest : public AppFixture {};

// What each role leaves usable in the journal window.
QString enabledControls()
{
    const std::pair<const char*, bool> controls[] = {
        {"Button1", Form1->Button1->isEnabled()},   {"Button9", Form1->Button9->isEnabled()},
        {"Button2", Form1->Button2->isEnabled()},
        {"Button3", Form1->Button3->isEnabled()},   {"Radio", Form1->RadioButton1->isEnabled()},
        {"CBox1", Form1->CBox1->isEnabled()},       {"Button8", Form1->Button8->isEnabled()},
        {"DBGrid2", Form1->DBGrid2->isEnabled()},   {"DateT", Form1->DateT->isEnabled()},
        {"N2", Form1->N2->menuAction()->isEnabled()},             {"N11", Form1->N11->isEnabled()},
        {"Button5", Form1->Button5->isEnabled()},   {"Button4", Form1->Button4->isEnabled()},
        {"N9", Form1->N9->isEnabled()},             {"N10", Form1->N10->isEnabled()},
    };
    QStringList on;
    for (const auto& [name, enabled] : controls)
        if (enabled)
            on << name;
    return on.join(' ');
}

TEST_F(LoginTest, EachRoleGetsItsControls)
{
    struct Case {
        const char* code;
        const char* enabled;
        const char* role;  // as the server sees it in the connection's name
    };
    const Case cases[] = {
        {"fincal", "Button5 Button4 N9 N10", " reports"},
        {"brigvex", "Button1 Button9 Radio CBox1 Button8 DBGrid2 DateT Button5 Button4 N9 N10", " foreman"},
        {"vrelk", "Radio CBox1 Button8 DBGrid2 DateT Button5 Button4 N9 N10", " warehouse"},
        {"8573", "Button1 Button9 Button2 Button3 Radio CBox1 Button8 DBGrid2 DateT N2 N11 Button5 Button4 N9 N10",
         " full"},
        {"61730284", "Button1 Button9 Button2 Button3 Radio CBox1 Button8 DBGrid2 DateT N2 N11 Button5 Button4 N9 N10",
         " full"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        QString seen;
        QString connectionName;
        logIn(c.code, [&] {
            seen = enabledControls();
            const PgResultHandle name = DataModule6->ADO_DB.query(
                "select application_name from pg_stat_activity where pid = pg_backend_pid()");
            connectionName = QString::fromUtf8(PQgetvalue(name.get(), 0, 0));
        });
        EXPECT_EQ(seen, c.enabled) << c.code;
        EXPECT_TRUE(connectionName.startsWith("Tabel ")) << connectionName.toStdString();
        EXPECT_TRUE(connectionName.endsWith(c.role)) << connectionName.toStdString();
        EXPECT_EQ(fakes->modalShown, std::vector<QString>({"Form1"})) << c.code;
        EXPECT_FALSE(Form23->isVisible()) << c.code;  // closed after the journal
        for (int shift = 1; shift <= 4; ++shift)
            EXPECT_EQ(DataModule6->shiftQuery(shift).param("ok"), QVariant("ta")) << c.code;
        EXPECT_TRUE(fakes->messages.shown.empty()) << c.code;
    }
}

// A role that may not maintain the reference data cannot reach it at all: its items are
// disabled themselves, so a shortcut of an item does nothing either.
TEST_F(LoginTest, TheReferenceItemsOfTheMenuAreDisabledThemselvesForTheRolesWithoutThem)
{
    const struct {
        const char* code;
        bool opens;
    } cases[] = {{"fincal", false}, {"brigvex", false}, {"vrelk", false}, {"8573", true}};
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        logIn(c.code, [&] {
            list_test::activateAgain(*Form1);
            for (QAction* item : Form1->N2->actions()) {
                EXPECT_EQ(item->isEnabled(), c.opens) << c.code << " " << item->text().toStdString();
                const QSignalSpy triggered(item, &QAction::triggered);
                item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
                QTest::keyClick(Form1, Qt::Key_F9, Qt::ControlModifier);
                item->setShortcut({});
                EXPECT_EQ(triggered.count(), c.opens ? 1 : 0) << c.code << " " << item->text().toStdString();
            }
        });
    }
}

TEST_F(LoginTest, CodeIsTrimmedAndComparedExactly)
{
    struct Case {
        const char* typed;
        bool valid;
        const char* userCode;
    };
    const Case cases[] = {
        {"Brigvex", false, "Brigvex"},
        {"", false, ""},
        {"   ", false, ""},
        {"857", false, "857"},
        {"  brigvex  ", true, "brigvex"},  // last: a valid code ends the login window
    };
    for (const Case& c : cases) {
        fakes->messages.shown.clear();
        fakes->modalShown.clear();
        fakes->modalActions.clear();
        Form1->CurrentShift = 3;
        Form23->Edit1->setText(c.typed);
        Form23->Button1->click();
        EXPECT_EQ(Form1->UserCode, c.userCode) << c.typed;
        EXPECT_EQ(Form1->CurrentShift, 1) << c.typed;
        if (c.valid) {
            EXPECT_EQ(fakes->modalShown.size(), 1u) << c.typed;
            EXPECT_TRUE(fakes->messages.shown.empty()) << c.typed;
        } else {
            EXPECT_TRUE(fakes->modalShown.empty()) << c.typed;
            EXPECT_EQ(messageTexts(), QStringList({"Ошибка: Введены неверные данные."})) << c.typed;
            EXPECT_TRUE(Form23->isVisible()) << c.typed;
            EXPECT_EQ(Form23->Edit1->text(), c.typed) << c.typed;
        }
    }
}

TEST_F(LoginTest, EnterLogsIn)
{
    Form23->Edit1->setText("8573");
    QTest::keyClick(Form23->Edit1, Qt::Key_Return);
    EXPECT_EQ(fakes->modalShown, std::vector<QString>({"Form1"}));
}

TEST_F(LoginTest, EscapeEndsTheProgram)
{
    QTest::keyClick(Form23, Qt::Key_Escape);
    EXPECT_FALSE(Form23->isVisible());
    EXPECT_TRUE(fakes->modalShown.empty());
}

TEST_F(LoginTest, WindowLooksAsDesigned)
{
    EXPECT_EQ(Form23->objectName(), "Form23");
    EXPECT_EQ(Form23->Edit1->echoMode(), QLineEdit::Password);
    QTest::keyClicks(Form23->Edit1, "8573");
    EXPECT_EQ(Form23->Edit1->displayText(), "****");
    EXPECT_EQ(Form23->Button1->text(), "Вход");
    EXPECT_TRUE(Form23->Button1->isDefault());
    EXPECT_EQ(Form23->Button2->text(), "Отмена");
    EXPECT_FALSE(Form23->Timer1->isActive());
}

TEST_F(LoginTest, CodeBoxHasItsLabelAndTheCaptionIsWhole)
{
    QTest::qWait(0);  // the activation, once the window is on screen
    ASSERT_EQ(Form23->windowTitle(), "Авторизация (build: 20240212.59128)");
    const QList<QLabel*> labels = Form23->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), "Код доступа");
    EXPECT_EQ(labels[0]->buddy(), Form23->Edit1);
    EXPECT_LT(labels[0]->geometry().right(), Form23->Edit1->geometry().left());
    QFont bold = Form23->font();
    bold.setBold(true);
    EXPECT_GT(Form23->width(), QFontMetrics(bold).horizontalAdvance(Form23->windowTitle()) + 100);
}

}  // namespace
