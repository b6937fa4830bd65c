// Per-person login where the database has the administrator's group roles: the login
// window asks for the person's name and password, connects as the person and takes the
// role from the person's group.
#include "app_fixture.h"
#include "app/journal_window.h"
#include "app/login_window.h"
#include "app/startup.h"
#include "data_module.h"
#include "date_box.h"
#include "libpq_environment.h"
#include "household/household_window.h"
#include "list_test_support.h"
#include "person_roles.h"
#include "seed.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QString scalar(const char* sql)
{
    const PgResultHandle result = DataModule6->ADO_DB.query(QString::fromLatin1(sql));
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0));
}

class PersonLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.set("HOME", home.path().toUtf8());
        // A stamp older than the program's: every role's version check writes its own.
        db.exec("delete from accounts_dep.ver");
        db.exec("insert into accounts_dep.ver (d, t, delim) values (20200101, 0, ',')");
    }
    void TearDown() override { destroyApplicationWindows(); }

    // Types the person's name and password as the person does and presses Enter; what
    // the journal shows is looked at while it is open.
    void logIn(const QString& user, const QString& password, std::function<void()> whileShown = {})
    {
        fakes.modalActions.push_back([whileShown](QDialog&) {
            if (whileShown)
                whileShown();
            return int(QDialog::Rejected);
        });
        Form23->UserName->clear();
        QTest::keyClicks(Form23->UserName, user);
        QTest::keyClicks(Form23->Password, password);
        QTest::keyClick(Form23->Password, Qt::Key_Return);
    }
    bool asksForThePerson() const
    {
        return Form23->Edit1->isHidden() && !Form23->UserName->isHidden() && !Form23->Password->isHidden();
    }

    LibpqEnvironment env;
    QTemporaryDir home;
    TestDatabase db;
    PersonRoles persons{db};
    FakeSeams fakes;
};

TEST_F(PersonLoginTest, TheDatabaseWithGroupRolesAsksForThePersonAndTheGroupGivesTheRole)
{
    const struct {
        const char* group;
        bool addsRecords, changesRecords, dateEnabled;
    } cases[] = {
        {"reports", false, false, false},
        {"foreman", true, false, true},
        {"warehouse", false, false, true},
        {"full", true, true, true},
    };
    for (const auto& c : cases) {
        const QString group = QString::fromLatin1(c.group);
        db.exec("update accounts_dep.ver set d = 20200101, t = 0");
        ASSERT_TRUE(createApplicationWindows(db.programArguments()));
        QTest::qWait(0);  // the activation
        ASSERT_TRUE(asksForThePerson()) << c.group;
        QStringList labels;
        for (QLabel* label : Form23->findChildren<QLabel*>())
            if (!label->isHidden())
                labels << label->text();
        EXPECT_EQ(labels, QStringList({"Пользователь", "Пароль"}));
        EXPECT_EQ(Form23->Password->echoMode(), QLineEdit::Password);

        QString user, connectionName, enabled;
        logIn(persons.user(group), PersonRoles::password(group), [&] {
            user = scalar("select current_user");
            connectionName = scalar("select application_name from pg_stat_activity where pid = pg_backend_pid()");
            EXPECT_EQ(Form1->Button1->isEnabled(), c.addsRecords) << c.group;
            EXPECT_EQ(Form1->Button2->isEnabled(), c.changesRecords) << c.group;
            EXPECT_EQ(Form1->DateT->isEnabled(), c.dateEnabled) << c.group;
        });
        EXPECT_EQ(fakes.messages.texts(), QStringList()) << c.group;
        EXPECT_EQ(fakes.modalShown, std::vector<QString>({"Form1"})) << c.group;
        EXPECT_EQ(user, persons.user(group));
        EXPECT_TRUE(connectionName.startsWith("Tabel ") && connectionName.endsWith(" " + group))
            << connectionName.toStdString();
        EXPECT_EQ(Form1->UserRole, roleForCode(group == "reports" ? "fincal" : group == "foreman" ? "brigvex"
                                               : group == "warehouse" ? "vrelk" : "8573"));
        // The person's version check raised the stamp.
        EXPECT_EQ(db.scalar("select d from accounts_dep.ver"), QString::number(Form1->BuildDate)) << c.group;
        EXPECT_TRUE(Form23->Password->text().isEmpty());
        destroyApplicationWindows();
        fakes.modalShown.clear();
    }
    // Nothing the program wrote holds a password.
    QDirIterator files(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains("pw-")) << file.fileName().toStdString();
    }
}

TEST_F(PersonLoginTest, AWrongPasswordOrAPersonOfNoGroupIsToldAndTheWindowWaits)
{
    db.exec(QStringLiteral("create role %1_nobody login password 'pw-x'").arg(db.name()));
    ASSERT_TRUE(createApplicationWindows(db.programArguments()));
    logIn(persons.user("full"), "wrong");
    logIn(db.name() + "_nobody", "pw-x");
    logIn("", "");
    EXPECT_EQ(fakes.messages.texts(),
              QStringList({"Ошибка: Неверное имя пользователя или пароль.",
                           "Ошибка: Пользователю «" + db.name() + "_nobody» не назначена роль в Табеле. "
                           "Обратитесь к администратору.",
                           "Ошибка: Введите имя пользователя."}));
    EXPECT_TRUE(fakes.modalShown.empty());
    EXPECT_TRUE(Form23->isVisible());
    destroyApplicationWindows();
    db.exec(QStringLiteral("drop role %1_nobody").arg(db.name()));
}

// The server refuses the settings' own user (the plant changed its password): the login
// window asks for the person before anything is connected, then connects as the person
// and checks the version.
TEST_F(PersonLoginTest, ARefusedBuiltInUserLetsThePersonLogIn)
{
    env.set("PGPASSWORD", "not sys's password");
    ASSERT_TRUE(createApplicationWindows(db.programArguments())) << fakes.messages.texts().join('\n').toStdString();
    QTest::qWait(0);
    ASSERT_TRUE(asksForThePerson());
    EXPECT_EQ(DataModule6->ADO_DB.raw(), nullptr);
    EXPECT_EQ(Form23->windowTitle(), "Авторизация (build: 20240212.59128)");
    EXPECT_TRUE(Form23->UserName->text().isEmpty());
    QString user;
    logIn(persons.user("warehouse"), PersonRoles::password("warehouse"), [&] { user = scalar("select current_user"); });
    EXPECT_EQ(user, persons.user("warehouse"));
    EXPECT_EQ(Form1->UserRole, Role::Warehouse);
    EXPECT_EQ(db.scalar("select d from accounts_dep.ver"), QString::number(Form1->BuildDate));
}

// A person the settings name (the operating-system login, the password file) is connected
// at start and offered as the name: Enter alone logs in.
TEST_F(PersonLoginTest, ThePersonTheSettingsNameIsConnectedWithoutTyping)
{
    env.set("PGUSER", persons.user("foreman").toUtf8());
    env.writePasswordFile(("*:*:*:" + persons.user("foreman") + ":" + PersonRoles::password("foreman") + "\n").toUtf8());
    ASSERT_TRUE(createApplicationWindows(db.programArguments())) << fakes.messages.texts().join('\n').toStdString();
    ASSERT_TRUE(asksForThePerson());
    EXPECT_EQ(Form23->UserName->text(), persons.user("foreman"));
    fakes.modalActions.push_back([](QDialog&) { return int(QDialog::Rejected); });
    QTest::keyClick(Form23->Password, Qt::Key_Return);
    EXPECT_EQ(fakes.modalShown, std::vector<QString>({"Form1"}));
    EXPECT_EQ(Form1->UserRole, Role::Foreman);
}

// A write the person's group may not make (here an administrator left household deletes
// out of the reporting group) is refused by the database and told in the program's words.
TEST_F(PersonLoginTest, ARefusedPrivilegeIsToldInRussianNamingTheActionAndTheTable)
{
    Seed seed(db);
    const int worker = seed.worker("Петров П.П.");
    const int cleaning = seed.classifierEntry("Уборка территории");
    seed.operationKind("Хоз. работы", 7777);
    seed.operation(7777, 7777, 0, 150);
    db.exec(QStringLiteral("insert into accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, "
                           "price) values (%1, 7777, %2, '2026-12-10', 12, 2026, 1, 8, 150)")
                .arg(cleaning)
                .arg(worker));
    db.exec("revoke delete on accounts_dep.fatigue from tabel_reports");
    ASSERT_TRUE(createApplicationWindows(db.programArguments()));
    logIn(persons.user("reports"), PersonRoles::password("reports"), [this] {
        fakes.modalActions.push_back(list_test::whileShown([](QDialog&) { Form25->Button7->click(); }));
        Form1->Button5->click();  // "Хоз. работы"
    });
    EXPECT_EQ(fakes.messages.texts(), QStringList({"Удаление: Удалить позицию из списка?",
                                                    "Ошибка: Недостаточно прав: удаление («хозяйственные работы»)"}));
    EXPECT_EQ(db.count("select count(*) from accounts_dep.fatigue"), 1);
}

}  // namespace
