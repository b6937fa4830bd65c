#include "golden_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

void expectGoldenFile(const QStringList& lines, const QString& path)
{
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (qEnvironmentVariableIsSet("TABEL_WRITE_REFERENCE")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
        out.write(text);
        return;
    }
    QTemporaryDir folder;
    const QString actualPath = folder.filePath(QStringLiteral("actual.txt"));
    QFile actual(actualPath);
    ASSERT_TRUE(actual.open(QIODevice::WriteOnly));
    actual.write(text);
    actual.close();
    QProcess diff;
    diff.start(QStringLiteral("diff"), {QStringLiteral("-u"), path, actualPath});
    ASSERT_TRUE(diff.waitForFinished());
    EXPECT_EQ(diff.exitCode(), 0) << path.toStdString() << "\n" << diff.readAllStandardOutput().toStdString();
}
