#include "data_module.h"
#include "date_box.h"
#include "fake_seams.h"
#include "libpq_environment.h"
#include "app/journal_window.h"
#include "app/login_window.h"
#include "reports/period_reports.h"
#include "reports/report_chooser.h"
#include "app/startup.h"
#include "test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QSysInfo>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Startup, UnreachableDatabaseShowsOneMessageAndNoWindow)
{
    FakeSeams fakes;
    const QStringList arguments = {"tabel", "no_such_database", TestDatabase::host()};
    EXPECT_FALSE(createApplicationWindows(arguments));
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, "Подключение к БД отсутсвует!!!");
    EXPECT_EQ(fakes.messages.shown[0].caption, "Ошибка!");
    EXPECT_EQ(Form23, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(DataModule6, nullptr);
}

// The database the program connected to at start.
QString connectedDatabase()
{
    const PgResultHandle name = DataModule6->ADO_DB.query("select current_database()");
    return QString::fromUtf8(PQgetvalue(name.get(), 0, 0));
}

TEST(Startup, TheServiceFileAndPgserviceNameTheServerAndTheCommandLineStillWins)
{
    TestDatabase db;
    TestDatabase other;
    LibpqEnvironment env;
    env.writeServiceFile(QStringLiteral("[tabel]\nhost=%1\ndbname=%2\n\n[plant]\nhost=%1\ndbname=%3\n")
                             .arg(TestDatabase::host(), db.name(), other.name())
                             .toUtf8());
    FakeSeams fakes;
    struct Case {
        const char* what;
        QByteArray service;  // PGSERVICE
        QStringList arguments;
        QString database;
    };
    const Case cases[] = {
        {"the service tabel", {}, {"tabel"}, db.name()},
        {"PGSERVICE", "plant", {"tabel"}, other.name()},
        {"the command line over PGSERVICE", "plant", db.programArguments(), db.name()},
    };
    for (const Case& c : cases) {
        if (c.service.isEmpty())
            env.unset("PGSERVICE");
        else
            env.set("PGSERVICE", c.service);
        ASSERT_TRUE(createApplicationWindows(c.arguments)) << c.what << ": " << fakes.messages.texts().join('\n').toStdString();
        EXPECT_EQ(connectedDatabase(), c.database) << c.what;
        EXPECT_FALSE(Form23->Edit1->isHidden()) << c.what;  // no group roles: the access code as ever
        destroyApplicationWindows();
    }
}

TEST(Startup, ConnectsAndShowsTheLoginWindowWithTheJournalTimerRunning)
{
    TestDatabase db;
    FakeSeams fakes;
    ASSERT_TRUE(createApplicationWindows(db.programArguments()));
    EXPECT_TRUE(DataModule6->ADO_DB.isOpen());
    EXPECT_TRUE(Form23->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Form1->Timer1->isActive());
    EXPECT_EQ(Form1->Timer1->interval(), 30000);
    EXPECT_TRUE(fakes.messages.shown.empty());
    // The server sees the program and the workstation by name from the first moment.
    const PgResultHandle name = DataModule6->ADO_DB.query(
        "select application_name from pg_stat_activity where pid = pg_backend_pid()");
    const QString connectionName = QString::fromUtf8(PQgetvalue(name.get(), 0, 0));
    EXPECT_TRUE(connectionName.startsWith("Tabel ")) << connectionName.toStdString();
    EXPECT_TRUE(connectionName.endsWith(" " + QSysInfo::machineHostName())) << connectionName.toStdString();
    // The report chooser and the layouts it prints on exist from the start, never shown.
    for (QWidget* w : std::initializer_list<QWidget*>{Form18, Form16, Form17, Form20, Form21}) {
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
    destroyApplicationWindows();
    EXPECT_EQ(Form18, nullptr);
    EXPECT_EQ(Form21, nullptr);
}

TEST(Startup, QtsOwnTextsAndTheFormatsAreRussianWhateverTheShellsLocale)
{
    ASSERT_TRUE(useRussianInterface());
    TestDatabase db;
    FakeSeams fakes;
    ASSERT_TRUE(createApplicationWindows(db.programArguments()));
    EXPECT_EQ(QLocale().toString(172.8), "172,8");
    EXPECT_EQ(Form1->DateT->calendarWidget()->locale().language(), QLocale::Russian);

    // The program's own Yes/No question, as the user sees it.
    seams::setMessageBoxes(nullptr);
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            buttons << button->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(seams::messageBoxes().confirm(Form23, QStringLiteral("Удалить работника?"), QStringLiteral("Удаление")));
    seams::setMessageBoxes(&fakes.messages);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Да", "Нет"}));

    destroyApplicationWindows();
    QLocale::setDefault(QLocale::c());
}

}  // namespace
