#pragma once

#include "prepared_report.h"

#include <QPrintPreviewDialog>
#include <QString>
#include <functional>

class QAction;
class QPrinter;
class QWidget;

namespace report {

// The print preview: Qt's own dialog (zoom, fit, pages, page set-up, print), maximised
// and fitted to the page, drawing the prepared pages through the one renderer, with
// "Сохранить в PDF", which writes the same pages to a file the user picks.
class PreviewDialog : public QPrintPreviewDialog {
    Q_OBJECT
public:
    PreviewDialog(const PreparedReport& report, QPrinter& printer, QWidget* parent = nullptr);

    QAction* savePdfAction() const { return savePdf_; }
    // The file name offered when saving: the report's title made fit for a file name.
    QString suggestedPdfName() const;
    // Writes the PDF; shows an error box and returns false when it cannot be written.
    bool savePdf(const QString& path);

private:
    void savePdfClicked();

    const PreparedReport& report_;
    QAction* savePdf_;
};

// Shows the prepared pages in the preview, modally; tests replace it to receive them.
void preview(const PreparedReport& report, QWidget* parent);
using PreviewShower = std::function<void(const PreparedReport& report, QWidget* parent)>;
void setPreviewShower(PreviewShower shower);  // empty: the real preview again

// Asks where to save the PDF; empty when the user cancels. Tests replace it.
using PdfFileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
QString choosePdfFile(QWidget* parent, const QString& suggestedPath);
void setPdfFileChooser(PdfFileChooser chooser);  // empty: the file dialog again

}  // namespace report
