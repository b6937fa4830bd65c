#pragma once

#include "report_definition.h"

#include <QString>

// What the four period layouts share: the page, the shading of their bands, the way
// totals and the page number are printed, and the texts of product kind and colour.
namespace period_layout {

// "Готовая продукция" for product kind 0, "Заготовки" otherwise.
inline const QString kProductKindText = QStringLiteral("IF(naimen=0,'Готовая продукция','Заготовки')");
// " (грунт)" for colour 1, " (RAL: N)" for a colour number above 1, a blank otherwise.
inline const QString kColourText =
    QStringLiteral("if(color>0,if(color=1,' (грунт)',' (RAL: '+STR(color)+')'),' ')");

// A4 portrait, 10 mm margins, Arial 10 pt, printed when empty, the page number at the
// foot of every page.
report::ReportDefinition periodReport(const QString& name);

// The report header on F4F4F4 with a 0.5 mm spacer after it; it holds the title label.
report::Band reportHeader(double heightMm, std::vector<report::Item> items);
// The title label the chooser writes the period into.
report::Item titleLabel(double leftMm);

// A group header printing a field in bold 10 pt; the outermost group's is on E0E0E0.
report::Band groupHeader(double heightMm, const QString& fieldName, bool outermost);
// A bold 9 pt group footer in MS Sans Serif.
report::Band groupFooter(double heightMm, std::vector<report::Item> items);
// The report footer: bold 11 pt MS Sans Serif on DCDCDC, framed all round.
report::Band reportFooter(double heightMm, std::vector<report::Item> items);
// The detail band in MS Sans Serif of the given size.
report::Band detail(double pointSize, std::vector<report::Item> items);

// A total on EFEFEF, centred: the expression ("sum(summa)") through the mask when given.
report::Item total(const QString& expression, double leftMm, double widthMm, const QString& mask = {});
// A centred field of the detail band, through the mask when given.
report::Item centredField(const QString& name, double leftMm, double widthMm, const QString& mask = {});

}  // namespace period_layout
