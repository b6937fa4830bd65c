#include "prepared_report.h"

namespace report {

namespace {

QString mm(double value) { return QString::number(value, 'f', 2); }

QString rectText(const QRectF& r) { return QStringLiteral("%1 %2 %3x%4").arg(mm(r.left()), mm(r.top()), mm(r.width()), mm(r.height())); }

QString alignmentText(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("centre");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString fontText(const Font& font)
{
    QString text = QStringLiteral("%1 %2").arg(font.family, QString::number(font.pointSize));
    if (font.bold)
        text += QStringLiteral(" bold");
    if (font.italic)
        text += QStringLiteral(" italic");
    if (font.color != QColor(Qt::black))
        text += QLatin1Char(' ') + font.color.name();
    return text;
}

struct Describer {
    QString operator()(const TextBox& t) const
    {
        return QStringLiteral("text %1 \"%2\" %3 %4").arg(rectText(t.rectMm), t.text, fontText(t.font), alignmentText(t.alignment));
    }
    QString operator()(const Line& l) const
    {
        return QStringLiteral("line %1 %2 %3 %4 %5 %6 %7")
            .arg(mm(l.lineMm.x1()), mm(l.lineMm.y1()), mm(l.lineMm.x2()), mm(l.lineMm.y2()),
                 l.pen.style == LineStyle::Dotted ? QStringLiteral("dotted") : QStringLiteral("solid"), l.pen.color.name(),
                 mm(l.pen.widthMm));
    }
    QString operator()(const Box& b) const { return QStringLiteral("box %1 fill %2").arg(rectText(b.rectMm), b.fill.name()); }
};

}  // namespace

QString describe(const Primitive& primitive) { return std::visit(Describer{}, primitive); }

QStringList describe(const PreparedReport& report)
{
    QStringList lines;
    for (size_t n = 0; n < report.pages.size(); ++n) {
        lines << QStringLiteral("page %1").arg(n + 1);
        for (const Primitive& primitive : report.pages[n].primitives)
            lines << describe(primitive);
    }
    return lines;
}

}  // namespace report
