#pragma once

#include "report_definition.h"

#include <QLineF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace report {

// What a prepared page is made of; positions in millimetres from the paper's top-left
// corner.
struct TextBox {
    QRectF rectMm;
    QString text;
    Font font;
    Qt::Alignment alignment;
};

struct Line {
    QLineF lineMm;
    Pen pen;
};

struct Box {
    QRectF rectMm;
    QColor fill;  // invalid: not filled
};

using Primitive = std::variant<Box, Line, TextBox>;

struct PreparedPage {
    std::vector<Primitive> primitives;  // in drawing order: fills, then lines and texts
};

// Every page of a report (Report::prepare); the preview takes them as they are made
// instead (PageMaker), and the printer and the PDF draw either.
struct PreparedReport {
    QString title;
    PageSetup page;
    std::vector<PreparedPage> pages;
};

// One readable line per primitive, for comparing prepared pages in tests:
//   text 10.0 16.6 80.0x6.4 "Иванов И.И." Arial 10 bold left
//   line 91.0 16.6 91.0 23.0 dotted #c0c0c0 0.20
//   box 10.0 10.0 277.0x6.6 fill #f4f4f4
QString describe(const Primitive& primitive);
// "page N" before the lines of each page.
QStringList describe(const PreparedReport& report);

}  // namespace report
