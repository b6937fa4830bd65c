#include "pdf_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

PdfContents readPdf(const QString& path)
{
    PdfContents contents;
    contents.text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    contents.pageSize = QRegularExpression(QStringLiteral("Page size:\\s*(.*)")).match(info).captured(1).trimmed();
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("^([\\d.]+) x ([\\d.]+)")).match(contents.pageSize);
    contents.widthPts = size.captured(1).toDouble();
    contents.heightPts = size.captured(2).toDouble();
    contents.pages = QRegularExpression(QStringLiteral("Pages:\\s*(\\d+)")).match(info).captured(1).toInt();
    return contents;
}
