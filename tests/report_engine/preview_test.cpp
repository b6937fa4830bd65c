#include "pdf_reader.h"
#include "report.h"
#include "report_preview.h"
#include "report_renderer.h"
#include "table_rows.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using namespace report;

// Two landscape pages of Cyrillic lines.
PreparedReport twoPages()
{
    ReportDefinition d;
    d.title = "Табель: Декабрь 2026 г.";
    d.page = PageSetup::a4(QPageLayout::Landscape);
    d.detail = band(80, {field("fio")});
    d.pageFooter = band(5, {pageNumber().rightAligned()});
    TableRows rows("rows", {"fio"}, {{txt("Щукин Ё.Ж.")}, {txt("Иванов И.И.")}, {txt("Петров П.П.")}});
    return Report(d).prepare(rows);
}

class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override { setPdfFileChooser({}); }
};

TEST_F(PreviewTest, OpensMaximisedFittedToThePageOnTheReportsPaper)
{
    const PreparedReport pages = twoPages();
    ASSERT_EQ(pages.pages.size(), 2u);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, pages);
    PreviewDialog dialog(pages, printer);
    dialog.show();
    QCoreApplication::processEvents();

    EXPECT_TRUE(dialog.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(dialog.windowTitle(), "Табель: Декабрь 2026 г.");
    auto* view = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->zoomMode(), QPrintPreviewWidget::FitInView);
    EXPECT_EQ(view->pageCount(), 2);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_TRUE(printer.fullPage());
    auto* toolbar = dialog.findChild<QToolBar*>();
    ASSERT_TRUE(toolbar);
    EXPECT_TRUE(toolbar->actions().contains(dialog.savePdfAction()));
    EXPECT_EQ(dialog.savePdfAction()->text(), "Сохранить в PDF");
    dialog.close();
}

TEST_F(PreviewTest, SavesThePagesItShowsAsAPdfUnderTheNameTheUserPicks)
{
    const PreparedReport pages = twoPages();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, pages);
    PreviewDialog dialog(pages, printer);
    dialog.show();
    QTemporaryDir folder;
    QString offered;
    setPdfFileChooser([&](QWidget*, const QString& suggested) {
        offered = suggested;
        return folder.filePath("декабрь");  // typed without the extension
    });
    dialog.savePdfAction()->trigger();

    EXPECT_TRUE(offered.endsWith("/Табель_ Декабрь 2026 г.pdf")) << offered.toStdString();
    const PdfContents pdf = readPdf(folder.filePath("декабрь.pdf"));
    EXPECT_EQ(pdf.pages, 2);
    EXPECT_TRUE(pdf.pageSize.endsWith("(A4)")) << pdf.pageSize.toStdString();
    EXPECT_GT(pdf.widthPts, pdf.heightPts) << "landscape";
    EXPECT_TRUE(pdf.text.contains("Щукин Ё.Ж.")) << pdf.text.toStdString();
    EXPECT_TRUE(pdf.text.contains("Петров П.П."));
    dialog.close();
}

TEST_F(PreviewTest, ACancelledChoiceWritesNothing)
{
    const PreparedReport pages = twoPages();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, pages);
    PreviewDialog dialog(pages, printer);
    QTemporaryDir folder;
    setPdfFileChooser([](QWidget*, const QString&) { return QString(); });
    dialog.savePdfAction()->trigger();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    EXPECT_FALSE(writePdf(pages, folder.filePath("нет такой папки/отчет.pdf")));
}

}  // namespace
