#include "reports/spreadsheet_opener.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real opener on a search path of the test's own, whose commands record the
// arguments they were started with.
class SpreadsheetOpenerTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("PATH", folder.path().toUtf8()); }
    void TearDown() override
    {
        qputenv("PATH", savedPath);
        qunsetenv("TABEL_SPREADSHEET_COMMAND");
    }

    // A command that writes its arguments, one a line, into <command>.out.
    void install(const QString& name)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.out\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The arguments the command was started with, once it has run.
    QString argumentsOf(const QString& name)
    {
        QFile out(folder.filePath(name + ".out"));
        if (!QTest::qWaitFor([&] { return out.exists() && out.size() > 0; }, 10000))
            return QStringLiteral("<not started>");
        out.open(QIODevice::ReadOnly);
        return QString::fromUtf8(out.readAll());
    }

    QByteArray savedPath = qgetenv("PATH");
    QTemporaryDir folder;
};

TEST_F(SpreadsheetOpenerTest, TheSettingComesFirstThenLibreOfficeCalcThenXdgOpenThenGio)
{
    struct Case {
        QStringList installed;
        QString setting;  // TABEL_SPREADSHEET_COMMAND; %1 is the test's folder
        QString started;
        QString arguments;  // %1 is the workbook
    };
    const std::vector<Case> cases = {
        {{"libreoffice", "soffice"}, {}, "libreoffice", "--calc\n-n\n%1\n"},
        {{"soffice"}, {}, "soffice", "--calc\n-n\n%1\n"},
        {{"libreoffice", "my calc"}, "\"%1/my calc\" --view", "my calc", "--view\n%1\n"},
        {{"libreoffice", "gnumeric"}, "gnumeric", "gnumeric", "%1\n"},
        {{"xdg-open", "gio"}, {}, "xdg-open", "%1\n"},
        {{"gio"}, {}, "gio", "open\n%1\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.started.toStdString());
        const QString workbook = folder.filePath(QStringLiteral("Табель, выгрузка %1.xlsx").arg(++n));
        for (const QString& name : c.installed)
            install(name);
        qputenv("TABEL_SPREADSHEET_COMMAND", QString(c.setting).replace("%1", folder.path()).toUtf8());

        auto& opener = seams::spreadsheetOpener();
        EXPECT_TRUE(opener.available());
        EXPECT_TRUE(opener.open(workbook));
        EXPECT_EQ(argumentsOf(c.started), c.arguments.arg(workbook));

        for (const QString& name : c.installed) {
            QFile::remove(folder.filePath(name));
            QFile::remove(folder.filePath(name + ".out"));
        }
    }
}

TEST_F(SpreadsheetOpenerTest, WithoutACommandThereIsNoApplication)
{
    auto& opener = seams::spreadsheetOpener();
    EXPECT_FALSE(opener.available());

    // A named command that is missing is not replaced by another.
    install("libreoffice");
    qputenv("TABEL_SPREADSHEET_COMMAND", "no-such-calc");
    EXPECT_FALSE(opener.available());
    EXPECT_FALSE(opener.open(folder.filePath("a.xlsx")));
    EXPECT_FALSE(QFile::exists(folder.filePath("libreoffice.out")));
}

}  // namespace
