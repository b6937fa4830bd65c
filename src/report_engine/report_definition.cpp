#include "report_definition.h"

namespace report {

PageSetup PageSetup::a4(QPageLayout::Orientation orientation)
{
    PageSetup setup;
    setup.orientation = orientation;
    return setup;
}

QSizeF PageSetup::paperSizeMm() const
{
    const QSizeF portrait = QPageSize(paper).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

double PageSetup::printableWidthMm() const { return paperSizeMm().width() - leftMm - rightMm; }


Font FontChange::appliedTo(Font font) const
{
    if (family)
        font.family = *family;
    if (pointSize)
        font.pointSize = *pointSize;
    if (bold)
        font.bold = *bold;
    if (italic)
        font.italic = *italic;
    if (color)
        font.color = *color;
    return font;
}

Pen Pen::dottedGrey() { return {LineStyle::Dotted, QColor(0xC0, 0xC0, 0xC0), 0.2}; }

Frame Frame::all(Pen pen) { return {true, true, true, true, pen}; }
Frame Frame::above(Pen pen) { return {false, true, false, false, pen}; }
Frame Frame::below(Pen pen) { return {false, false, false, true, pen}; }
Frame Frame::aboveAndBelow(Pen pen) { return {false, true, false, true, pen}; }
Frame Frame::leftAndRight(Pen pen) { return {true, false, true, false, pen}; }

Item& Item::at(double left, double width)
{
    leftMm = left;
    widthMm = width;
    return *this;
}

Item& Item::top(double topMm_, double height)
{
    topMm = topMm_;
    heightMm = height;
    return *this;
}

Item& Item::centred()
{
    alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    return *this;
}

Item& Item::rightAligned()
{
    alignment = Qt::AlignRight | Qt::AlignVCenter;
    return *this;
}

Item& Item::named(const QString& itemName)
{
    name = itemName;
    return *this;
}

Item& Item::withMask(const QString& numberMask)
{
    mask = numberMask;
    return *this;
}

Item& Item::bold(bool on)
{
    font.bold = on;
    return *this;
}

Item& Item::size(double points)
{
    font.pointSize = points;
    return *this;
}

Item& Item::family(const QString& fontFamily)
{
    font.family = fontFamily;
    return *this;
}

Item& Item::filled(const QColor& colour)
{
    fill = colour;
    return *this;
}

Item& Item::framed(const Frame& itemFrame)
{
    frame = itemFrame;
    return *this;
}

namespace {

Item item(Item::Kind kind, const QString& text)
{
    Item made;
    made.kind = kind;
    made.text = text;
    return made;
}

}  // namespace

Item text(const QString& text) { return item(Item::Kind::Text, text); }
Item field(const QString& name) { return item(Item::Kind::Field, name); }
Item expression(const QString& source) { return item(Item::Kind::Expression, source); }
Item pageNumber() { return item(Item::Kind::PageNumber, {}); }

Band band(double heightMm, std::vector<Item> items)
{
    Band made;
    made.heightMm = heightMm;
    made.items = std::move(items);
    return made;
}

Group group(const QString& expression, bool keepTogether)
{
    Group made;
    made.expression = expression;
    made.keepTogether = keepTogether;
    return made;
}

}  // namespace report
