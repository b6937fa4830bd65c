#include "report_preview.h"

#include "report_renderer.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>

namespace report {

namespace {

PreviewShower& currentShower()
{
    static PreviewShower shower;
    return shower;
}

PdfFileChooser& currentChooser()
{
    static PdfFileChooser chooser;
    return chooser;
}

}  // namespace

PreviewDialog::PreviewDialog(const PreparedReport& report, QPrinter& printer, QWidget* parent)
    : QPrintPreviewDialog(&printer, parent), report_(report)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.title.isEmpty() ? QStringLiteral("Предварительный просмотр") : report.title);
    setWindowState(windowState() | Qt::WindowMaximized);
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { printPages(*target, report_); });

    savePdf_ = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Сохранить в PDF"), this);
    savePdf_->setObjectName(QStringLiteral("savePdfAction"));
    connect(savePdf_, &QAction::triggered, this, &PreviewDialog::savePdfClicked);
    if (auto* toolbar = findChild<QToolBar*>()) {
        QAction* first = toolbar->actions().value(0);
        toolbar->insertAction(first, savePdf_);
        toolbar->insertSeparator(first);
    }
    if (auto* pages = findChild<QPrintPreviewWidget*>())
        pages->fitInView();
}

QString PreviewDialog::suggestedPdfName() const
{
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = report_.title;
    name.replace(unfit, QStringLiteral("_"));
    name = name.simplified();
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return (name.isEmpty() ? QStringLiteral("Отчет") : name) + QStringLiteral(".pdf");
}

bool PreviewDialog::savePdf(const QString& path)
{
    if (writePdf(report_, path))
        return true;
    QMessageBox::critical(this, QStringLiteral("Ошибка"),
                          QStringLiteral("Не удалось записать файл %1").arg(QDir::toNativeSeparators(path)), QMessageBox::Ok);
    return false;
}

void PreviewDialog::savePdfClicked()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = choosePdfFile(this, QDir(folder).filePath(suggestedPdfName()));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    savePdf(path);
}

void preview(const PreparedReport& report, QWidget* parent)
{
    if (currentShower()) {
        currentShower()(report, parent);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, report);
    PreviewDialog dialog(report, printer, parent);
    dialog.exec();
}

void setPreviewShower(PreviewShower shower) { currentShower() = std::move(shower); }

QString choosePdfFile(QWidget* parent, const QString& suggestedPath)
{
    if (currentChooser())
        return currentChooser()(parent, suggestedPath);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить в PDF"), suggestedPath, QStringLiteral("PDF (*.pdf)"));
}

void setPdfFileChooser(PdfFileChooser chooser) { currentChooser() = std::move(chooser); }

}  // namespace report
