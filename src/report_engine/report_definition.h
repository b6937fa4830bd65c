#pragma once

// A banded report as its layout describes it: page, bands top to bottom, items on them.
// A definition is plain data; report::Report (report.h) checks it and parses its
// expressions once, so a fault in a layout shows when the layout is built, not while a
// user prints.
//
// How a layout is defined (positions and sizes in millimetres; x from the left margin,
// y from the top of the band):
//
//     using namespace report;
//     ReportDefinition d;
//     d.title = QStringLiteral("Отчет по рабочим");
//     d.page = PageSetup::a4(QPageLayout::Portrait);            // 10 mm margins
//     d.baseFont = {QStringLiteral("Arial"), 10};
//
//     d.reportHeader = band(4.2, {text(QString()).named("title").at(0.3).bold()});
//     d.reportHeader->children = {band(0.5)};                   // spacer after the header
//     d.reportHeader->fill = QColor(0xF4F4F4);
//
//     Group worker = group(QStringLiteral("t_Report.fio"));
//     worker.header = band(6.6, {field("fio").at(0.3).bold()});
//     worker.footer = band(6.1, {expression("sum(summa)").at(163.0, 23.8).centred().withMask("#0.00")});
//     worker.footer->font.bold = true;
//     worker.footer->frame = Frame::below();
//     d.groups = {worker};                                      // outer to inner
//
//     d.detail = band(4.2, {field("vid").at(56.9, 43.1).centred(),
//                           expression("IF(naimen=0,'Готовая продукция','Заготовки')").at(13.2, 42.1)});
//     d.detail->font.pointSize = 9;
//     d.reportFooter = band(5.8, {text("Итого:").at(137.8)});
//     d.pageFooter = band(4.5, {pageNumber().at(176.2).size(9)});
//
//     report::Report layout(d);          // throws DefinitionError naming the faulty item
//     layout.setText("title", QStringLiteral("   Отчет по рабочим за период с …"));
//     PreparedReport pages = layout.prepare(rows);              // rows: a RowSource
//     report::preview(layout, rows, parentWindow);              // or shown while prepared (report_preview.h)

#include <QColor>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace report {

// Paper, orientation and margins; the printable area is the paper less the margins.
struct PageSetup {
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double leftMm = 10, topMm = 10, rightMm = 10, bottomMm = 10;

    static PageSetup a4(QPageLayout::Orientation orientation);
    // The paper as it lies (landscape: the long side across), in millimetres.
    QSizeF paperSizeMm() const;
    double printableWidthMm() const;
};

// A font as a layout names it; the renderer maps the Windows family names to fonts the
// machine has (report_renderer.h).
struct Font {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;

    bool operator==(const Font&) const = default;
};

// What a band or an item changes of the font it inherits (report → band → item).
struct FontChange {
    std::optional<QString> family;
    std::optional<double> pointSize;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<QColor> color;

    Font appliedTo(Font font) const;
};

enum class LineStyle { Solid, Dotted };

struct Pen {
    LineStyle style = LineStyle::Solid;
    QColor color = Qt::black;
    double widthMm = 0.2;

    static Pen dottedGrey();
    bool operator==(const Pen&) const = default;
};

// Lines along the sides of a band or an item.
struct Frame {
    bool left = false, top = false, right = false, bottom = false;
    Pen pen;

    static Frame all(Pen pen = {});
    static Frame above(Pen pen = {});
    static Frame below(Pen pen = {});
    static Frame aboveAndBelow(Pen pen = {});
    static Frame leftAndRight(Pen pen = {});
    bool any() const { return left || top || right || bottom; }
};

// One printed thing on a band.
struct Item {
    enum class Kind {
        Text,        // `text` as it stands
        Field,       // the value of the field named by `text`, through `mask` when given
        Expression,  // the value of the expression `text`, through `mask` when given
        PageNumber,  // the number of the page it is printed on
    };
    Kind kind = Kind::Text;
    QString text;
    QString mask;    // number mask ("#0.00"); empty: the plain value text
    QString name;    // lets Report::setText find a text item ("title")

    double leftMm = 0;
    double topMm = 0;
    double widthMm = 0;   // 0: to the right edge of the printable area
    double heightMm = 0;  // 0: to the bottom of the band
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    FontChange font;
    QColor fill;          // invalid: no fill
    Frame frame;

    // Builders, so a layout reads as a list: field("vid").at(56.9, 43.1).centred().
    Item& at(double left, double width = 0);
    Item& top(double topMm, double height = 0);
    Item& centred();
    Item& rightAligned();
    Item& named(const QString& itemName);
    Item& withMask(const QString& numberMask);
    Item& bold(bool on = true);
    Item& size(double points);
    Item& family(const QString& fontFamily);
    Item& filled(const QColor& colour);
    Item& framed(const Frame& itemFrame);
};

Item text(const QString& text);
Item field(const QString& name);
Item expression(const QString& source);
Item pageNumber();

// A horizontal strip of the page with its items.
struct Band {
    double heightMm = 0;
    std::vector<Item> items;
    FontChange font;        // for every item of the band
    QColor fill;            // invalid: no fill
    Frame frame;
    std::vector<Band> children;  // printed right after this band, each time it prints
};

Band band(double heightMm, std::vector<Item> items = {});

// A group: its header prints when the value of `expression` differs from the record
// before (and at the first record), its footer when the group ends. Sums in the footer
// are reset after it is printed.
struct Group {
    QString expression;
    std::optional<Band> header;
    std::optional<Band> footer;
    // The header is linked to the footer: the group's header, records and footer go on
    // one page when they fit on a page; a header is never left alone at a page's foot.
    bool keepTogether = false;
};

Group group(const QString& expression, bool keepTogether = false);

struct ReportDefinition {
    QString title;  // names the document (PDF title, default file name)
    PageSetup page;
    Font baseFont;
    bool printWhenEmpty = true;  // an empty source still gives one page

    // Report header and footer: a group without expression, printed once before the
    // first record and once after the last; only when there are records.
    std::optional<Band> reportHeader;
    std::optional<Band> reportFooter;
    std::optional<Band> pageHeader;  // at the top of every page
    std::optional<Band> pageFooter;  // at the foot of every page, the last one too
    std::vector<Group> groups;       // outer to inner
    std::optional<Band> detail;      // once per record
};

}  // namespace report
