#include "spreadsheet_opener.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real opener, with the command chosen through TABEL_SPREADSHEET_COMMAND.
class SpreadsheetOpenerTest : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv("TABEL_SPREADSHEET_COMMAND"); }

    // A command that records the arguments it was started with, one a line.
    QString recordingCommand()
    {
        const QString script = folder.filePath("record args.sh");
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.out\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script;
    }

    QTemporaryDir folder;
};

TEST_F(SpreadsheetOpenerTest, TheNamedCommandGetsTheFileAfterItsOwnArguments)
{
    const QString script = recordingCommand();
    qputenv("TABEL_SPREADSHEET_COMMAND", ("\"" + script + "\" --calc").toUtf8());
    const QString workbook = folder.filePath("Табель, выгрузка 1.xlsx");

    auto& opener = seams::spreadsheetOpener();
    EXPECT_TRUE(opener.available());
    EXPECT_TRUE(opener.open(workbook));

    QFile out(script + ".out");
    EXPECT_TRUE(QTest::qWaitFor([&] { return out.exists() && out.size() > 0; }, 10000));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(out.readAll()), "--calc\n" + workbook + "\n");
}

TEST_F(SpreadsheetOpenerTest, AMissingNamedCommandMeansNoApplication)
{
    qputenv("TABEL_SPREADSHEET_COMMAND", folder.filePath("no-such-calc").toUtf8());
    auto& opener = seams::spreadsheetOpener();
    EXPECT_FALSE(opener.available());
    EXPECT_FALSE(opener.open(folder.filePath("a.xlsx")));
}

}  // namespace
