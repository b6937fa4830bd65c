#include "page_view.h"

#include "report_renderer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int kGap = 12;  // pixels around and between the pages
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;

}  // namespace

PageView::PageView(const PageSetup& page, PageAt pageAt, QWidget* parent)
    : QAbstractScrollArea(parent), page_(page), pageAt_(std::move(pageAt))
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
}

void PageView::setPageCount(int count)
{
    if (count == pageCount_)
        return;
    const bool first = pageCount_ == 0;
    pageCount_ = count;
    if (first)
        applyFit();
    updateScrollBars();
    if (first)
        showPage(1);
    viewport()->update();
}

double PageView::screenPixelsPerMm() const { return viewport()->logicalDpiX() / 25.4; }

QSizeF PageView::pagePixels() const
{
    const QSizeF paper = page_.paperSizeMm();
    return paper * screenPixelsPerMm() * zoom_;
}

int PageView::pageTop(int index) const { return kGap + int(std::lround(index * (pagePixels().height() + kGap))); }

void PageView::fitWidth() { setZoom(zoom_, Fit::Width); }

void PageView::fitPage() { setZoom(zoom_, Fit::Page); }

void PageView::zoomIn() { setZoom(zoom_ * kZoomStep, Fit::None); }

void PageView::zoomOut() { setZoom(zoom_ / kZoomStep, Fit::None); }

void PageView::setZoom(double zoom, Fit fit)
{
    const int page = shownPage_;
    fit_ = fit;
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    applyFit();
    updateScrollBars();
    showPage(page);
    viewport()->update();
}

// Fitting measures the paper at real size against the room the view has.
void PageView::applyFit()
{
    if (fit_ == Fit::None)
        return;
    const QSizeF paper = page_.paperSizeMm() * screenPixelsPerMm();
    const QSizeF room = QSizeF(viewport()->size()) - QSizeF(2 * kGap, 2 * kGap);
    if (room.width() <= 0 || room.height() <= 0)
        return;
    const double across = room.width() / paper.width();
    zoom_ = std::clamp(fit_ == Fit::Width ? across : std::min(across, room.height() / paper.height()), kMinZoom, kMaxZoom);
}

void PageView::updateScrollBars()
{
    const QSizeF page = pagePixels();
    const int height = pageTop(pageCount_);
    const int width = int(std::ceil(page.width())) + 2 * kGap;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

int PageView::pageInMiddle() const
{
    if (pageCount_ == 0)
        return 0;
    const double middle = verticalScrollBar()->value() + viewport()->height() / 2.0 - kGap;
    const int index = int(middle / (pagePixels().height() + kGap));
    return std::clamp(index, 0, pageCount_ - 1) + 1;
}

void PageView::showPage(int page)
{
    if (pageCount_ == 0)
        return;
    const int index = std::clamp(page, 1, pageCount_) - 1;
    verticalScrollBar()->setValue(pageTop(index) - kGap / 2);
    if (shownPage_ != index + 1) {
        shownPage_ = index + 1;
        emit currentPageChanged(shownPage_);
    }
}

void PageView::noteCurrentPage()
{
    const int page = pageInMiddle();
    if (page != shownPage_) {
        shownPage_ = page;
        emit currentPageChanged(page);
    }
}

void PageView::paintEvent(QPaintEvent* event)
{
    lastDrawn_.clear();
    QPainter painter(viewport());
    const QSizeF size = pagePixels();
    const double left = std::max(double(kGap), (viewport()->width() - size.width()) / 2.0) - horizontalScrollBar()->value();
    const int scrolled = verticalScrollBar()->value();
    const QRect dirty = event->rect();
    const double stride = size.height() + kGap;
    const int first = std::max(0, int((scrolled + dirty.top() - kGap) / stride));
    for (int index = first; index < pageCount_; ++index) {
        const QRectF paper(left, pageTop(index) - scrolled, size.width(), size.height());
        if (paper.top() > dirty.bottom())
            break;
        if (!paper.intersects(dirty))
            continue;
        painter.fillRect(paper.translated(2, 2), palette().color(QPalette::Shadow));
        painter.fillRect(paper, Qt::white);
        painter.save();
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        painter.scale(zoom_, zoom_);
        drawPage(painter, pageAt_(size_t(index)));
        painter.restore();
        lastDrawn_.push_back(index + 1);
    }
}

// The page in sight stays in sight: the one noted before the view changed size.
void PageView::resizeEvent(QResizeEvent* event)
{
    const int page = shownPage_;
    QAbstractScrollArea::resizeEvent(event);
    applyFit();
    updateScrollBars();
    if (fit_ != Fit::None)
        showPage(page);
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    noteCurrentPage();
}

}  // namespace report
