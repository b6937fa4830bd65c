#pragma once

#include "prepared_report.h"
#include "report.h"
#include "report_renderer.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QKeySequence;
class QLabel;
class QLayout;
class QPrinter;
class QSpinBox;
class QTimer;
class QToolBar;
class QWidget;

namespace report {

class PageView;

// The print preview: the report's pages, maximised and fitted to the page, with zoom,
// fitting, page navigation, "Печать" through the print dialog (with its page range) and
// "Сохранить в PDF". The pages are prepared while the first ones are already on screen;
// "PageCount" shows how many there are so far. Printing and saving prepare the rest
// first, then hand the pages to the printer or the PDF one at a time. The report keeps
// its own paper and orientation: the preview offers no page set-up.
class PreviewDialog : public QDialog {
    Q_OBJECT
public:
    // The report and the rows must stay as they are while the dialog exists.
    PreviewDialog(const Report& report, RowSource& rows, QWidget* parent = nullptr);
    // The pages of any source, as it makes them.
    PreviewDialog(std::unique_ptr<PageSource> source, QWidget* parent = nullptr);
    ~PreviewDialog() override;

    QAction* savePdfAction() const { return savePdf_; }
    QAction* printAction() const { return print_; }
    PageView* pageView() const { return view_; }
    // The file name offered when saving: the report's title made fit for a file name.
    QString suggestedPdfName() const;
    // Writes the PDF; shows an error box and returns false when it cannot be written.
    bool savePdf(const QString& path);
    // Prepares what is left of the report; the preview does it by itself meanwhile.
    void finishPreparation();
    bool preparationFinished() const;

private:
    PageAt pages() const;  // the complete pages, one at a time
    void buildToolBar(QLayout* layout);
    QAction* addTool(QToolBar* bar, const char* icon, const QString& text, const QKeySequence& keys);
    void prepareSome();
    void showPageCount();
    void savePdfClicked();
    void printClicked();

    std::unique_ptr<PageSource> maker_;
    PageView* view_;
    QSpinBox* pageNumber_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QAction* savePdf_ = nullptr;
    QAction* print_ = nullptr;
    QTimer* preparing_;
};

// Prepares the report from the rows and shows it in the preview, modally. Tests replace
// the showing to receive all pages prepared.
void preview(const Report& report, RowSource& rows, QWidget* parent);
// The pages of the source in the preview, modally; the shower tests set receives them all.
void preview(std::unique_ptr<PageSource> pages, QWidget* parent);
using PreviewShower = std::function<void(const PreparedReport& report, QWidget* parent)>;
void setPreviewShower(PreviewShower shower);  // empty: the real preview again

// A long report leaves what it freed (its pages, its records) with the C library, which
// keeps it from the system unless asked; this hands it back, so the program's memory
// returns to where it was before the report.
void handBackFreedMemory();

// The folder the PDF is offered in: the user's documents, else the home folder.
QString pdfFolder();
// Asks where to save the PDF, in Qt's own (Russian) file dialog; empty when the user
// cancels. Tests replace it.
using PdfFileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
QString choosePdfFile(QWidget* parent, const QString& suggestedPath);
void setPdfFileChooser(PdfFileChooser chooser);  // empty: the file dialog again

// Asks for the printer and the pages to print in Qt's print dialog, the printer set up
// for the report; false when the user cancels. Tests replace it.
using PrinterChooser = std::function<bool(QWidget* parent, QPrinter& printer, int pageCount)>;
bool choosePrinter(QWidget* parent, QPrinter& printer, int pageCount);
void setPrinterChooser(PrinterChooser chooser);  // empty: the print dialog again

}  // namespace report
