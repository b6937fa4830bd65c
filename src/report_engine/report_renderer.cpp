#include "report_renderer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>

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

// Draws one page's primitives; the fonts of consecutive texts are mostly the same, so
// the last one is kept with its metrics.
class PageDrawer {
public:
    explicit PageDrawer(QPainter& painter)
        : painter_(painter),
          sx_(painter.device()->logicalDpiX() / 25.4),
          sy_(painter.device()->logicalDpiY() / 25.4)
    {
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

    void operator()(const TextBox& box)
    {
        useFont(box.font);
        const QRectF rect = toDevice(box.rectMm);
        // A text that fits is drawn unclipped, which keeps the output small; a longer one
        // is cut at its box.
        const bool fits = metrics_->horizontalAdvance(box.text) <= rect.width();
        painter_.setPen(box.font.color);
        painter_.drawText(rect, int(box.alignment) | Qt::TextSingleLine | (fits ? Qt::TextDontClip : 0), box.text);
    }

private:
    QRectF toDevice(const QRectF& mm) const { return {mm.x() * sx_, mm.y() * sy_, mm.width() * sx_, mm.height() * sy_}; }

    void useFont(const Font& font)
    {
        if (metrics_ && font == current_)
            return;
        current_ = font;
        const QFont drawn = deviceFont(font, painter_.device());
        painter_.setFont(drawn);
        metrics_.emplace(drawn, painter_.device());
    }

    QPainter& painter_;
    double sx_;
    double sy_;
    Font current_;
    std::optional<QFontMetricsF> metrics_;
};

}  // namespace

void drawPage(QPainter& painter, const PreparedPage& page)
{
    PageDrawer drawer(painter);
    for (const Primitive& primitive : page.primitives)
        std::visit(drawer, primitive);
}

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

void setUpPrinter(QPrinter& printer, const PreparedReport& report)
{
    printer.setPageSize(QPageSize(report.page.paper));
    printer.setPageOrientation(report.page.orientation);
    printer.setFullPage(true);
    printer.setDocName(documentName(report.title));
}

void printPages(QPrinter& printer, const PreparedReport& report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QPageRanges chosen = printer.pageRanges();
    bool first = true;
    for (size_t n = 1; n <= report.pages.size(); ++n) {
        if (!chosen.isEmpty() && !chosen.contains(int(n)))
            continue;
        if (!first)
            printer.newPage();
        first = false;
        drawPage(painter, report.pages[n - 1]);
    }
}

bool writePdf(const PreparedReport& report, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(report.page.paper), report.page.orientation, QMarginsF(), QPageLayout::Millimeter));
    writer.setResolution(600);
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("Табель"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (size_t n = 0; n < report.pages.size(); ++n) {
        if (n > 0)
            writer.newPage();
        drawPage(painter, report.pages[n]);
    }
    return painter.end();
}

}  // namespace report
