#include "report_preview.h"

#include "page_view.h"
#include "report_renderer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace report {

namespace {

// Preparation goes on in slices this long between the user's clicks and the repaints.
constexpr int kSliceMs = 40;

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

PrinterChooser& currentPrinterChooser()
{
    static PrinterChooser chooser;
    return chooser;
}

// The toolbar icons of Qt's own print preview, which users know.
QIcon previewIcon(const char* name)
{
    return QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-24.png").arg(QLatin1String(name)));
}

}  // namespace

void handBackFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

PreviewDialog::PreviewDialog(const Report& report, RowSource& rows, QWidget* parent)
    : PreviewDialog(std::make_unique<PageMaker>(report, rows), parent)
{
}

PreviewDialog::PreviewDialog(std::unique_ptr<PageSource> source, QWidget* parent)
    : QDialog(parent), maker_(std::move(source)), preparing_(new QTimer(this))
{
    setObjectName(QStringLiteral("ReportPreview"));
    const QString title = maker_->title();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Предварительный просмотр") : title);
    setWindowState(windowState() | Qt::WindowMaximized);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new PageView(maker_->pageSetup(), pages(), this);
    view_->setObjectName(QStringLiteral("Pages"));
    buildToolBar(layout);
    layout->addWidget(view_, 1);

    // The first page is there before the window shows; the rest follow in slices.
    maker_->makePages(1);
    showPageCount();
    connect(preparing_, &QTimer::timeout, this, &PreviewDialog::prepareSome);
    if (!maker_->finished())
        preparing_->start(0);
}

PreviewDialog::~PreviewDialog() = default;

PageAt PreviewDialog::pages() const
{
    return [this](size_t index) -> const PreparedPage& { return maker_->page(index); };
}

QAction* PreviewDialog::addTool(QToolBar* bar, const char* icon, const QString& text, const QKeySequence& keys)
{
    QAction* action = bar->addAction(previewIcon(icon), text);
    action->setShortcut(keys);
    return action;
}

void PreviewDialog::buildToolBar(QLayout* layout)
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    layout->addWidget(bar);

    savePdf_ = bar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Сохранить в PDF"));
    savePdf_->setObjectName(QStringLiteral("SavePdf"));
    connect(savePdf_, &QAction::triggered, this, &PreviewDialog::savePdfClicked);
    bar->addSeparator();

    connect(addTool(bar, "fit-width", QStringLiteral("По ширине"), {}), &QAction::triggered, view_, &PageView::fitWidth);
    connect(addTool(bar, "fit-page", QStringLiteral("Страница целиком"), {}), &QAction::triggered, view_, &PageView::fitPage);
    connect(addTool(bar, "zoom-in", QStringLiteral("Увеличить"), QKeySequence::ZoomIn), &QAction::triggered, view_,
            &PageView::zoomIn);
    connect(addTool(bar, "zoom-out", QStringLiteral("Уменьшить"), QKeySequence::ZoomOut), &QAction::triggered, view_,
            &PageView::zoomOut);
    bar->addSeparator();

    connect(addTool(bar, "go-first", QStringLiteral("Первая страница"), QKeySequence::MoveToStartOfDocument),
            &QAction::triggered, view_, [this] { view_->showPage(1); });
    connect(addTool(bar, "go-previous", QStringLiteral("Предыдущая страница"), QKeySequence::MoveToPreviousPage),
            &QAction::triggered, view_, [this] { view_->showPage(view_->currentPage() - 1); });
    pageNumber_ = new QSpinBox(bar);
    pageNumber_->setObjectName(QStringLiteral("PageNumber"));
    pageNumber_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    pageNumber_->setAlignment(Qt::AlignRight);
    pageNumber_->setKeyboardTracking(false);
    bar->addWidget(pageNumber_);
    pageCount_ = new QLabel(bar);
    pageCount_->setObjectName(QStringLiteral("PageCount"));
    bar->addWidget(pageCount_);
    connect(addTool(bar, "go-next", QStringLiteral("Следующая страница"), QKeySequence::MoveToNextPage),
            &QAction::triggered, view_, [this] { view_->showPage(view_->currentPage() + 1); });
    connect(addTool(bar, "go-last", QStringLiteral("Последняя страница"), QKeySequence::MoveToEndOfDocument),
            &QAction::triggered, view_, [this] { view_->showPage(view_->pageCount()); });
    bar->addSeparator();

    print_ = addTool(bar, "print", QStringLiteral("Печать"), QKeySequence::Print);
    print_->setObjectName(QStringLiteral("Print"));
    connect(print_, &QAction::triggered, this, &PreviewDialog::printClicked);

    connect(pageNumber_, &QSpinBox::valueChanged, view_, [this](int page) {
        if (page != view_->currentPage())
            view_->showPage(page);
    });
    connect(view_, &PageView::currentPageChanged, pageNumber_, &QSpinBox::setValue);
}

void PreviewDialog::prepareSome()
{
    QElapsedTimer slice;
    slice.start();
    while (!maker_->finished() && slice.elapsed() < kSliceMs)
        maker_->makePages(1);
    if (maker_->finished())
        preparing_->stop();
    showPageCount();
}

void PreviewDialog::finishPreparation()
{
    if (maker_->finished())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    maker_->finish();
    QApplication::restoreOverrideCursor();
    preparing_->stop();
    showPageCount();
}

bool PreviewDialog::preparationFinished() const { return maker_->finished(); }

// While preparation runs the count ends in an ellipsis: more pages are coming.
void PreviewDialog::showPageCount()
{
    const int count = int(maker_->completePages());
    view_->setPageCount(count);
    pageNumber_->setRange(std::min(1, count), count);
    pageCount_->setText(QStringLiteral("/ %1%2").arg(count).arg(maker_->finished() ? QString() : QStringLiteral("…")));
}

QString PreviewDialog::suggestedPdfName() const
{
    const QString name = documentName(maker_->title());
    return (name.isEmpty() ? QStringLiteral("Отчет") : name) + QStringLiteral(".pdf");
}

bool PreviewDialog::savePdf(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = writePdf(*maker_, path);
    QApplication::restoreOverrideCursor();
    showPageCount();
    if (written)
        return true;
    QMessageBox::critical(this, QStringLiteral("Ошибка"),
                          QStringLiteral("Не удалось записать файл %1").arg(QDir::toNativeSeparators(path)), QMessageBox::Ok);
    return false;
}

void PreviewDialog::savePdfClicked()
{
    QString path = choosePdfFile(this, QDir(pdfFolder()).filePath(suggestedPdfName()));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    savePdf(path);
}

void PreviewDialog::printClicked()
{
    finishPreparation();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, maker_->title(), maker_->pageSetup());
    if (!choosePrinter(this, printer, int(maker_->completePages())))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    printPages(printer, maker_->completePages(), pages());
    QApplication::restoreOverrideCursor();
}

void preview(const Report& report, RowSource& rows, QWidget* parent)
{
    if (currentShower()) {
        currentShower()(report.prepare(rows), parent);
        return;
    }
    PreviewDialog dialog(report, rows, parent);
    dialog.exec();
}

void preview(std::unique_ptr<PageSource> pages, QWidget* parent)
{
    if (currentShower()) {
        currentShower()(allPages(*pages), parent);
        return;
    }
    PreviewDialog dialog(std::move(pages), parent);
    dialog.exec();
}

void setPreviewShower(PreviewShower shower) { currentShower() = std::move(shower); }

QString pdfFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

QString choosePdfFile(QWidget* parent, const QString& suggestedPath)
{
    if (currentChooser())
        return currentChooser()(parent, suggestedPath);
    // Qt's own dialog speaks the program's language on every desktop; a native one
    // follows the desktop's.
    QFileDialog dialog(parent, QStringLiteral("Сохранить в PDF"), suggestedPath, QStringLiteral("PDF (*.pdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

void setPdfFileChooser(PdfFileChooser chooser) { currentChooser() = std::move(chooser); }

bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount)
{
    if (currentPrinterChooser())
        return currentPrinterChooser()(parent, printer, pageCount);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    return dialog.exec() == QDialog::Accepted;
}

void setPrinterChooser(PrinterChooser chooser) { currentPrinterChooser() = std::move(chooser); }

}  // namespace report
