#pragma once

#include "prepared_report.h"
#include "report_renderer.h"

#include <QAbstractScrollArea>

namespace report {

// The pages of a report one under the other, as paper on a grey desk. Only the pages in
// sight are drawn, when they come into sight; nothing of a page is kept but its prepared
// primitives. The number of pages may grow while the view is shown (the rest of a report
// still being prepared).
class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    PageView(const PageSetup& page, PageAt pageAt, QWidget* parent = nullptr);

    // The pages that may be drawn: the first `count` that `pageAt` gives.
    void setPageCount(int count);
    int pageCount() const { return pageCount_; }

    // Zoom as a factor of the paper's real size on the screen; fitting follows the window.
    void fitWidth();
    void fitPage();
    void zoomIn();
    void zoomOut();
    double zoom() const { return zoom_; }
    bool fitsPage() const { return fit_ == Fit::Page; }

    // 1-based: the page last shown, or scrolled to the middle of the view; showing one
    // scrolls to its top.
    int currentPage() const { return shownPage_; }
    void showPage(int page);

    // The pages drawn by the last repaint, for the curious (tests).
    const std::vector<int>& pagesLastDrawn() const { return lastDrawn_; }

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Fit { None, Width, Page };

    double screenPixelsPerMm() const;
    QSizeF pagePixels() const;
    int pageTop(int index) const;
    int pageInMiddle() const;
    void applyFit();
    void setZoom(double zoom, Fit fit);
    void updateScrollBars();
    void noteCurrentPage();

    PageSetup page_;
    PageAt pageAt_;
    int pageCount_ = 0;
    double zoom_ = 1.0;
    Fit fit_ = Fit::Page;
    int shownPage_ = 0;
    std::vector<int> lastDrawn_;
};

}  // namespace report
