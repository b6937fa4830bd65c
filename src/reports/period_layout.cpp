#include "period_layout.h"

namespace period_layout {

using namespace report;

namespace {

const QString kDetailFamily = QStringLiteral("MS Sans Serif");
constexpr double kDetailHeightMm = 4.2;
constexpr double kSpacerHeightMm = 0.5;
constexpr double kPageFooterHeightMm = 5.0;
constexpr double kPageNumberLeftMm = 176.2;

FontChange boldIn(const QString& family, double pointSize)
{
    FontChange font;
    font.family = family;
    font.pointSize = pointSize;
    font.bold = true;
    return font;
}

}  // namespace

ReportDefinition periodReport(const QString& name)
{
    ReportDefinition d;
    d.title = name;
    d.page = PageSetup::a4(QPageLayout::Portrait);
    d.baseFont = {QStringLiteral("Arial"), 10};
    d.printWhenEmpty = true;
    d.pageFooter = band(kPageFooterHeightMm, {pageNumber().at(kPageNumberLeftMm).size(9)});
    return d;
}

Band reportHeader(double heightMm, std::vector<Item> items)
{
    Band header = band(heightMm, std::move(items));
    header.fill = QColor(0xF4F4F4);
    header.children = {band(kSpacerHeightMm)};
    return header;
}

Item titleLabel(double leftMm) { return text(QString()).named(QStringLiteral("title")).at(leftMm).bold(); }

Band groupHeader(double heightMm, const QString& fieldName, bool outermost)
{
    Band header = band(heightMm, {field(fieldName).at(0.3).bold().size(10)});
    if (outermost)
        header.fill = QColor(0xE0E0E0);
    return header;
}

Band groupFooter(double heightMm, std::vector<Item> items)
{
    Band footer = band(heightMm, std::move(items));
    footer.font = boldIn(kDetailFamily, 9);
    return footer;
}

Band reportFooter(double heightMm, std::vector<Item> items)
{
    Band footer = band(heightMm, std::move(items));
    footer.font = boldIn(kDetailFamily, 11);
    footer.fill = QColor(0xDCDCDC);
    footer.frame = Frame::all();
    return footer;
}

Band detail(double pointSize, std::vector<Item> items)
{
    Band d = band(kDetailHeightMm, std::move(items));
    d.font.family = kDetailFamily;
    d.font.pointSize = pointSize;
    return d;
}

Item total(const QString& source, double leftMm, double widthMm, const QString& mask)
{
    Item item = expression(source).at(leftMm, widthMm).centred().filled(QColor(0xEFEFEF));
    if (!mask.isEmpty())
        item.withMask(mask);
    return item;
}

Item centredField(const QString& name, double leftMm, double widthMm, const QString& mask)
{
    Item item = field(name).at(leftMm, widthMm).centred();
    if (!mask.isEmpty())
        item.withMask(mask);
    return item;
}

}  // namespace period_layout
