#include "page_view.h"
#include "pdf_reader.h"
#include "report.h"
#include "report_preview.h"
#include "report_renderer.h"
#include "table_rows.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using namespace report;

// Landscape pages of two Cyrillic names each, the page number at the foot.
ReportDefinition namesLayout()
{
    ReportDefinition d;
    d.title = "Табель: Декабрь 2026 г.";
    d.page = PageSetup::a4(QPageLayout::Landscape);
    d.detail = band(80, {field("fio")});
    d.pageFooter = band(5, {pageNumber().rightAligned()});
    return d;
}

// The n-th name of the records below: "Работник 1", "Работник 2", …
QString nameOf(int n) { return QStringLiteral("Работник %1").arg(n); }

std::vector<TableRows::Record> records(int count)
{
    std::vector<TableRows::Record> all;
    for (int n = 1; n <= count; ++n)
        all.push_back({txt(nameOf(n))});
    return all;
}

TableRows names(int count) { return TableRows("rows", {"fio"}, records(count)); }

bool printed(const QString& text, int n)
{
    return text.contains(QRegularExpression(QRegularExpression::escape(nameOf(n)) + QStringLiteral("(?!\\d)")));
}

// Counts what preparation has read of it.
class CountedRows : public TableRows {
public:
    using TableRows::TableRows;
    void next() override
    {
        ++read;
        TableRows::next();
    }
    int read = 0;
};

QStringList toolTexts(const PreviewDialog& dialog)
{
    QStringList texts;
    for (QAction* action : dialog.findChild<QToolBar*>()->actions())
        if (!action->isSeparator() && !action->text().isEmpty())
            texts << action->text();
    return texts;
}

QString pageCountText(const PreviewDialog& dialog) { return dialog.findChild<QLabel*>("PageCount")->text(); }

class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        setPdfFileChooser({});
        setPrinterChooser({});
    }

    const Report layout{namesLayout()};
};

TEST_F(PreviewTest, OpensMaximisedFittedToThePageWithTheToolsOfAPreviewAndNoPageSetUp)
{
    TableRows rows = names(3);
    PreviewDialog dialog(layout, rows);
    dialog.finishPreparation();
    dialog.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(dialog.objectName(), "ReportPreview");
    EXPECT_TRUE(dialog.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(dialog.windowTitle(), "Табель: Декабрь 2026 г.");
    EXPECT_TRUE(dialog.pageView()->fitsPage());
    EXPECT_EQ(dialog.pageView()->pageCount(), 2);
    EXPECT_EQ(pageCountText(dialog), "/ 2");
    EXPECT_EQ(dialog.savePdfAction()->objectName(), "SavePdf");
    // The report keeps its paper and orientation: no portrait, landscape or page set-up.
    EXPECT_EQ(toolTexts(dialog), QStringList({"Сохранить в PDF", "По ширине", "Страница целиком", "Увеличить", "Уменьшить",
                                              "Первая страница", "Предыдущая страница", "Следующая страница",
                                              "Последняя страница", "Печать"}));
    // The print dialog offers the file name without the title's closing full stop.
    QPrinter printer;
    setUpPrinter(printer, layout.definition().title, layout.definition().page);
    EXPECT_EQ(printer.docName(), "Табель_ Декабрь 2026 г");
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

// Page 1 is on screen while the records are still being read; the rest follows while
// the preview is up, and the count grows to all the pages.
TEST_F(PreviewTest, ShowsPageOneBeforeTheLastRecordIsReadAndCountsThePagesAsTheyCome)
{
    const int count = 4000;
    CountedRows rows("rows", {"fio"}, records(count));
    PreviewDialog dialog(layout, rows);
    dialog.show();
    dialog.grab();
    EXPECT_EQ(dialog.pageView()->pagesLastDrawn().front(), 1);
    EXPECT_LT(rows.read, count / 10) << "page 1 is drawn long before the last record is read";
    EXPECT_FALSE(dialog.preparationFinished());
    EXPECT_TRUE(pageCountText(dialog).endsWith("…")) << pageCountText(dialog).toStdString();

    QTRY_VERIFY_WITH_TIMEOUT(dialog.preparationFinished(), 60000);
    EXPECT_EQ(rows.read, count);
    EXPECT_EQ(pageCountText(dialog), QStringLiteral("/ %1").arg(count / 2));
}

// Only the pages in sight are drawn: after "Последняя страница" neither the first page
// nor the ones between.
TEST_F(PreviewTest, PagesAreDrawnOnlyWhenInSightAndTheToolsMoveBetweenThem)
{
    TableRows rows = names(40);
    PreviewDialog dialog(layout, rows);
    dialog.finishPreparation();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* number = dialog.findChild<QSpinBox*>("PageNumber");

    dialog.grab();
    const auto drawn = [&] { return dialog.pageView()->pagesLastDrawn(); };
    EXPECT_EQ(drawn().front(), 1);
    EXPECT_LE(drawn().back(), 2);
    const auto tool = [&](const QString& text) {
        for (QAction* action : dialog.findChild<QToolBar*>()->actions())
            if (action->text() == text)
                action->trigger();
    };
    tool("Последняя страница");
    dialog.grab();
    EXPECT_GE(drawn().front(), 19);
    EXPECT_EQ(drawn().back(), 20);
    EXPECT_EQ(number->value(), 20);
    tool("Предыдущая страница");
    EXPECT_EQ(dialog.pageView()->currentPage(), 19);
    number->setValue(7);
    EXPECT_EQ(dialog.pageView()->currentPage(), 7);
    tool("По ширине");
    dialog.grab();
    EXPECT_EQ(drawn().front(), 7) << "zooming keeps the page in sight";
}

// The PDF holds the prepared pages, all of them, each with its own names.
// More pages than the writer is handed at a time, most of them still to be made when the
// user saves.
TEST_F(PreviewTest, SavesAllThePagesAsAPdfUnderTheNameTheUserPicksInTheDocumentsFolder)
{
    const int count = 41;
    TableRows rows = names(count);
    PreviewDialog dialog(layout, rows);
    dialog.show();
    QTemporaryDir folder;
    QString offered;
    setPdfFileChooser([&](QWidget*, const QString& suggested) {
        offered = suggested;
        return folder.filePath("декабрь");  // typed without the extension
    });
    dialog.savePdfAction()->trigger();

    EXPECT_EQ(offered, QDir(pdfFolder()).filePath("Табель_ Декабрь 2026 г.pdf"));
    const PdfContents pdf = readPdf(folder.filePath("декабрь.pdf"));
    EXPECT_EQ(pdf.pages, 21);
    EXPECT_EQ(dialog.pageView()->pageCount(), 21);
    EXPECT_TRUE(pdf.pageSize.endsWith("(A4)")) << pdf.pageSize.toStdString();
    EXPECT_GT(pdf.widthPts, pdf.heightPts) << "landscape";
    const QStringList pages = pdf.text.split('\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 21);
    for (int n = 1; n <= count; ++n)
        EXPECT_TRUE(printed(pages[(n - 1) / 2], n)) << n;
}

// A file that cannot be written is said so, at once, and the preview still gets every page.
TEST_F(PreviewTest, AFileThatCannotBeWrittenIsReportedAndThePreviewGoesOn)
{
    TableRows rows = names(81);
    PreviewDialog dialog(layout, rows);
    dialog.show();
    QTemporaryDir folder;
    setPdfFileChooser([&](QWidget*, const QString&) { return folder.filePath("нет такой папки/отчет.pdf"); });
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    dialog.savePdfAction()->trigger();

    EXPECT_EQ(shown, QStringLiteral("Не удалось записать файл %1").arg(QDir::toNativeSeparators(folder.filePath("нет такой папки/отчет.pdf"))));
    dialog.finishPreparation();
    EXPECT_EQ(dialog.pageView()->pageCount(), 41);
}

TEST_F(PreviewTest, PrintsOnlyThePagesOfTheRangeChosenInThePrintDialog)
{
    TableRows rows = names(10);
    PreviewDialog dialog(layout, rows);
    QTemporaryDir folder;
    const QString path = folder.filePath("printed.pdf");
    int offeredPages = 0;
    setPrinterChooser([&](QWidget*, QPrinter& printer, int pageCount) {
        offeredPages = pageCount;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageRanges(QPageRanges::fromString("2-3"));
        return true;
    });
    dialog.printAction()->trigger();

    EXPECT_EQ(offeredPages, 5);
    const PdfContents pdf = readPdf(path);
    EXPECT_EQ(pdf.pages, 2);
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(printed(pdf.text, n), n >= 3 && n <= 6) << n;
}

TEST_F(PreviewTest, ACancelledChoiceWritesNothing)
{
    TableRows rows = names(3);
    PreviewDialog dialog(layout, rows);
    QTemporaryDir folder;
    setPdfFileChooser([](QWidget*, const QString&) { return QString(); });
    dialog.savePdfAction()->trigger();
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    TableRows again = names(3);
    EXPECT_FALSE(writePdf(layout.prepare(again), folder.filePath("нет такой папки/отчет.pdf")));
}

// The PDF is offered in the documents folder, and in the home folder where there is none.
TEST(PdfFolder, IsTheDocumentsFolderElseTheHomeFolder)
{
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());
    EXPECT_EQ(pdfFolder(), home.path());
    QDir(home.path()).mkdir("Documents");
    EXPECT_EQ(pdfFolder(), home.filePath("Documents"));
    qputenv("HOME", savedHome);
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

}  // namespace
