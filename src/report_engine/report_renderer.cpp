#include "report_renderer.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextLayout>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace report {

QString printedFamily(const QString& family)
{
    static const QStringList windowsSans{QStringLiteral("Arial"), QStringLiteral("MS Sans Serif"),
                                         QStringLiteral("Microsoft Sans Serif")};
    for (const QString& name : windowsSans)
        if (family.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Liberation Sans");
    return family;
}

QFont deviceFont(const Font& font, const QPaintDevice* device)
{
    QFont drawn(printedFamily(font.family));
    drawn.setPointSizeF(font.pointSize);
    drawn.setBold(font.bold);
    drawn.setItalic(font.italic);
    // Letters keep the widths the layout was measured with, on screen as on paper.
    drawn.setHintingPreference(QFont::PreferNoHinting);
    return device ? QFont(drawn, device) : drawn;
}

namespace {

// Draws pages' primitives. A run of pages repeats its fonts and most of its texts (names,
// operations, headings): each font is set up once with its metrics, and each text's width
// measured once per font. For the printer and the PDF each text is also shaped into glyphs
// once: their engine writes a glyph run exactly as it writes the text it was shaped from,
// and shaping every text again took a third of a long report's PDF time. The screen draws
// the texts themselves: there the zoom places a run's glyphs a little differently.
class PageDrawer {
public:
    explicit PageDrawer(QPainter& painter)
        : painter_(painter),
          sx_(painter.device()->logicalDpiX() / 25.4),
          sy_(painter.device()->logicalDpiY() / 25.4),
          reusesGlyphs_(painter.paintEngine()->type() == QPaintEngine::Pdf)
    {
    }

    void draw(const PreparedPage& page)
    {
        for (const Primitive& primitive : page.primitives)
            std::visit(*this, primitive);
    }

    void operator()(const Box& box) const { painter_.fillRect(toDevice(box.rectMm), box.fill); }

    void operator()(const Line& line) const
    {
        QPen pen(line.pen.color);
        pen.setWidthF(std::max(line.pen.widthMm * sx_, 1.0));
        pen.setStyle(line.pen.style == LineStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        pen.setCapStyle(Qt::FlatCap);
        painter_.setPen(pen);
        painter_.drawLine(QPointF(line.lineMm.x1() * sx_, line.lineMm.y1() * sy_),
                          QPointF(line.lineMm.x2() * sx_, line.lineMm.y2() * sy_));
    }

    // A text that fits is placed in its box by its measured width and drawn unclipped,
    // which keeps the output small; a longer one is cut at its box.
    void operator()(const TextBox& box)
    {
        FontInUse& font = useFont(box.font);
        const QRectF rect = toDevice(box.rectMm);
        const Measured& text = measured(font, box.text);
        painter_.setPen(box.font.color);
        if (text.width > rect.width()) {
            painter_.drawText(rect, int(box.alignment) | Qt::TextSingleLine, box.text);
            return;
        }
        const QPointF origin(left(rect, text.width, box.alignment), baseline(rect, font.metrics, box.alignment));
        if (!reusesGlyphs_) {
            painter_.drawText(origin, box.text);
            return;
        }
        for (const QGlyphRun& run : text.glyphs)
            painter_.drawGlyphRun(origin - QPointF(0, text.ascent), run);
    }

private:
    // A text's width, and for the printer its glyphs from the line's top.
    struct Measured {
        qreal width = 0;
        qreal ascent = 0;
        QList<QGlyphRun> glyphs;
    };
    struct FontInUse {
        Font font;
        QFont drawn;
        QFontMetricsF metrics;
        QHash<QString, Measured> texts;
    };

    QRectF toDevice(const QRectF& mm) const { return {mm.x() * sx_, mm.y() * sy_, mm.width() * sx_, mm.height() * sy_}; }

    static qreal left(const QRectF& rect, qreal width, Qt::Alignment alignment)
    {
        if (alignment & Qt::AlignHCenter)
            return rect.left() + (rect.width() - width) / 2;
        if (alignment & Qt::AlignRight)
            return rect.right() - width;
        return rect.left();
    }

    // As a single line is set in its box: centred by its ascent and descent, or at its edge.
    static qreal baseline(const QRectF& rect, const QFontMetricsF& metrics, Qt::Alignment alignment)
    {
        if (alignment & Qt::AlignTop)
            return rect.top() + metrics.ascent();
        if (alignment & Qt::AlignBottom)
            return rect.bottom() - metrics.descent();
        return rect.top() + (rect.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
    }

    const Measured& measured(FontInUse& font, const QString& text)
    {
        auto found = font.texts.constFind(text);
        if (found != font.texts.cend())
            return *found;
        // Sums and counts seldom repeat: what a year's report measured would outgrow its pages.
        if (font.texts.size() >= kMeasuredTexts)
            font.texts.clear();
        Measured made{font.metrics.horizontalAdvance(text), 0, {}};
        if (reusesGlyphs_) {
            QTextLayout layout(text, font.drawn, painter_.device());
            layout.beginLayout();
            const QTextLine line = layout.createLine();
            layout.endLayout();  // which sets the line's height
            made.ascent = line.ascent();
            made.glyphs = layout.glyphRuns();
        }
        return *font.texts.insert(text, std::move(made));
    }

    FontInUse& useFont(const Font& font)
    {
        if (current_ < fonts_.size() && fonts_[current_].font == font)
            return fonts_[current_];
        current_ = 0;
        while (current_ < fonts_.size() && !(fonts_[current_].font == font))
            ++current_;
        if (current_ == fonts_.size()) {
            const QFont drawn = deviceFont(font, painter_.device());
            fonts_.push_back({font, drawn, QFontMetricsF(drawn, painter_.device()), {}});
        }
        painter_.setFont(fonts_[current_].drawn);
        return fonts_[current_];
    }

    static constexpr qsizetype kMeasuredTexts = 5000;

    QPainter& painter_;
    double sx_;
    double sy_;
    bool reusesGlyphs_;
    std::deque<FontInUse> fonts_;  // stays where it is while more are added
    size_t current_ = 0;
};

}  // namespace

void drawPage(QPainter& painter, const PreparedPage& page) { PageDrawer(painter).draw(page); }

QString documentName(const QString& title)
{
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = title;
    name.replace(unfit, QStringLiteral("_"));
    name = name.simplified();
    while (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

void setUpPrinter(QPrinter& printer, const QString& title, const PageSetup& page)
{
    printer.setPageSize(QPageSize(page.paper));
    printer.setPageOrientation(page.orientation);
    printer.setFullPage(true);
    printer.setDocName(documentName(title));
}

void printPages(QPrinter& printer, size_t count, const PageAt& pageAt)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    PageDrawer drawer(painter);
    const QPageRanges chosen = printer.pageRanges();
    bool first = true;
    for (size_t n = 1; n <= count; ++n) {
        if (!chosen.isEmpty() && !chosen.contains(int(n)))
            continue;
        if (!first)
            printer.newPage();
        first = false;
        drawer.draw(pageAt(n - 1));
    }
}

namespace {

// The next page to write, or nothing after the last.
using NextPage = std::function<const PreparedPage*()>;

bool writePages(const QString& title, const PageSetup& page, const NextPage& next, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(page.paper), page.orientation, QMarginsF(), QPageLayout::Millimeter));
    writer.setResolution(600);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Табель"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PageDrawer drawer(painter);
    bool first = true;
    while (const PreparedPage* drawn = next()) {
        if (!first)
            writer.newPage();
        first = false;
        drawer.draw(*drawn);
    }
    return painter.end();
}

// Pages handed from the thread that makes them to the one that writes them. Only a few wait
// at a time, so that a long report is never held whole; once the writer has stopped (the
// file could not be written) nothing more is waited for.
class PageQueue {
public:
    // False when the writer has stopped.
    bool put(PreparedPage page)
    {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [this] { return waiting_.size() < kWaiting || stopped_; });
        if (stopped_)
            return false;
        waiting_.push_back(std::move(page));
        ready_.notify_one();
        return true;
    }
    void close()
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        ready_.notify_one();
    }
    // The next page, waited for; nothing once the queue is closed and empty.
    std::optional<PreparedPage> take()
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !waiting_.empty() || closed_; });
        if (waiting_.empty())
            return std::nullopt;
        PreparedPage page = std::move(waiting_.front());
        waiting_.pop_front();
        room_.notify_one();
        return page;
    }
    void stop()
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        room_.notify_one();
    }

private:
    static constexpr size_t kWaiting = 16;
    std::mutex mutex_;
    std::condition_variable room_;
    std::condition_variable ready_;
    std::deque<PreparedPage> waiting_;
    bool closed_ = false;
    bool stopped_ = false;
};

// Makes the source's pages to the end and hands each to the queue; the queue is closed
// however this ends, so that the writer stops.
void handOver(PageSource& source, PageQueue& queue)
{
    struct Closer {
        PageQueue& queue;
        ~Closer() { queue.close(); }
    } closer{queue};
    for (size_t n = 0;; ++n) {
        while (n >= source.completePages() && !source.finished())
            source.makePages(1);
        if (n >= source.completePages() || !queue.put(source.page(n)))
            return;
    }
}

}  // namespace

bool writePdf(PageSource& source, const QString& path)
{
    PageQueue queue;
    bool written = false;
    std::thread writer([&, title = source.title(), page = source.pageSetup()] {
        std::optional<PreparedPage> current;
        written = writePages(title, page, [&]() -> const PreparedPage* {
            current = queue.take();
            return current ? &*current : nullptr;
        }, path);
        queue.stop();
    });
    {
        // Joined however the making ends, before the writer's answer is read.
        struct Joiner {
            std::thread& thread;
            ~Joiner() { thread.join(); }
        } joiner{writer};
        handOver(source, queue);
    }
    return written;
}

bool writePdf(const PreparedReport& report, const QString& path)
{
    size_t n = 0;
    return writePages(report.title, report.page, [&]() -> const PreparedPage* {
        return n < report.pages.size() ? &report.pages[n++] : nullptr;
    }, path);
}

}  // namespace report
