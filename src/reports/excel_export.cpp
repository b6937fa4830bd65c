#include "excel_export.h"

#include "seams.h"
#include "spreadsheet_opener.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryFile>

namespace {

const QString kErrorCaption = QStringLiteral("Ошибка");
const QString kSheetCaption = QStringLiteral("Ошибочный номер листа Microsoft Excel");
const QString kCellCaption = QStringLiteral("Ошибка Microsoft Excel");
const QString kNoApplication = QStringLiteral("Невозможно открыть Microsoft Excel.");
const QString kNoWorkbook = QStringLiteral("Ошибка открытия файла Microsoft Excel.");

QString writeErrorText(int sheet, int column, int row)
{
    return QStringLiteral("Ошибка при записи: лист %1, столбец %2, строка %3").arg(sheet).arg(column).arg(row);
}

struct SavedWorkbook {
    QString path;
    QString error;  // empty when the file was written
};

// The workbook written into a new file in the temporary folder, whose name tells what it
// holds and when it was made. The file stays after the program ends, since the
// spreadsheet application reads it.
SavedWorkbook saveToFreshFile(const Workbook& book)
{
    const QString stamp = seams::now().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("Табель, выгрузка %1 XXXXXX.xlsx").arg(stamp)));
    file.setAutoRemove(false);
    if (!file.open())
        return {{}, file.errorString()};
    const QString path = file.fileName();
    file.close();
    if (auto failure = book.saveAs(path))
        return {path, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), *failure)};
    return {path, {}};
}

}  // namespace

// The workbook is written whether or not there is an application to show it in: without
// one the user is told where the file is.
int ExcelExport::OpenExcel(const QString& fileName)
{
    workbook_.reset();
    if (fileName.isEmpty())
        workbook_.emplace();
    if (!workbook_) {
        reportError(kNoWorkbook, kErrorCaption);
        return -1;
    }
    return 1;
}

int ExcelExport::ShowExcel(bool visible)
{
    if (!visible || !workbook_)
        return 1;
    const Workbook book = std::move(*workbook_);
    workbook_.reset();
    const SavedWorkbook saved = saveToFreshFile(book);
    if (!saved.error.isEmpty()) {
        reportError(QStringLiteral("Ошибка сохранения книги: %1").arg(saved.error), kCellCaption);
        return -1;
    }
    seams::SpreadsheetOpener& opener = seams::spreadsheetOpener();
    if (!opener.available() || !opener.open(saved.path)) {
        reportError(kNoApplication + QStringLiteral("\nВыгрузка сохранена в файле:\n") + QDir::toNativeSeparators(saved.path),
                    kErrorCaption);
        return -1;
    }
    return 1;
}

int ExcelExport::WriteCell(int sheet, int column, int row, const QString& text, bool textFormat)
{
    if (text.isEmpty())
        return 1;
    return storeText(sheet, column, row, text, false) ? 1 : -1;
}

int ExcelExport::WriteCellFormatted(int sheet, int column, int row, const QString& text, bool asText,
                                    bool autoFit, bool bold)
{
    if (text.isEmpty())
        return 1;
    if (!storeText(sheet, column, row, text, asText))
        return -1;
    // Bold first, so that the fitted width allows for the bold letters.
    workbook_->setBold(row, column, bold);
    if (autoFit)
        workbook_->autoFitColumn(column);
    return 1;
}

bool ExcelExport::storeText(int sheet, int column, int row, const QString& text, bool asText)
{
    const QString errorText = writeErrorText(sheet, column, row);
    if (!workbook_ || sheet < 1 || sheet > Workbook::kSheets) {
        reportError(errorText, kSheetCaption);
        return false;
    }
    if (!workbook_->canHold(row, column, text)) {
        reportError(errorText, kCellCaption);
        return false;
    }
    if (asText)
        workbook_->setTextFormat(row, column);
    workbook_->setText(row, column, text);
    return true;
}

void ExcelExport::reportError(const QString& text, const QString& caption) const
{
    seams::messageBoxes().error(messageParent_, text, caption);
}

void writeSheetRow(ExcelExport& excel, int row, const QStringList& texts, bool heading)
{
    for (int column = 1; column <= texts.size(); ++column)
        excel.WriteCellFormatted(1, column, row, texts[column - 1], false, true, heading);
}
