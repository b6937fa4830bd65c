#include "pay_statement_lines.h"

namespace pay_statement {

namespace {

using Style = Line::Style;

QString shiftText(int shift)
{
    return shift == 4 ? QStringLiteral("Переработка") : QString::number(shift);
}

QString number(int value) { return numberLocale().toString(value); }

QString dateText(const QDate& date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

Line pieceLine(const PieceLine& p)
{
    return {Style::Piece,
            {dateText(p.date), shiftText(p.shift), p.brand, p.operation, p.productKind, number(p.quantity),
             number(p.rejects), number(p.good()), price(p.price), money(p.payKopecks),
             p.accepted ? QString() : QStringLiteral("не принято")}};
}

Line pieceTotal(const QString& caption, int good, qint64 kopecks)
{
    return {Style::PieceBold, {{}, {}, caption, {}, {}, {}, {}, number(good), {}, money(kopecks), {}}};
}

Line text(const QString& caption, const QString& amount = {}) { return {Style::Text, {caption, amount}}; }
Line boldText(const QString& caption, const QString& amount = {}) { return {Style::TextBold, {caption, amount}}; }

// One block of piece work, when there are lines of it: the lines and their subtotal.
void addPieceBlock(std::vector<Line>& out, const Statement& s, bool overtime, const QString& caption)
{
    int lineCount = 0;
    int good = 0;
    qint64 kopecks = 0;
    for (const PieceLine& p : s.pieces)
        if (p.overtime() == overtime) {
            out.push_back(pieceLine(p));
            ++lineCount;
            good += p.good();
            kopecks += p.payKopecks;
        }
    if (lineCount > 0)
        out.push_back(pieceTotal(caption, good, kopecks));
}

void addPieceWork(std::vector<Line>& out, const Statement& s)
{
    out.push_back(boldText(QStringLiteral("Сдельная работа")));
    if (s.pieces.empty()) {
        out.push_back(text(QStringLiteral("Записей в журнале за период нет")));
        return;
    }
    out.push_back({Style::PieceBold,
                   {QStringLiteral("Дата"), QStringLiteral("Смена"), QStringLiteral("Изделие"), QStringLiteral("Операция"),
                    QStringLiteral("Вид продукции"), QStringLiteral("Кол-во"), QStringLiteral("Брак"),
                    QStringLiteral("Годных"), QStringLiteral("Цена"), QStringLiteral("Сумма"), QStringLiteral("Отметка")}});
    addPieceBlock(out, s, false, QStringLiteral("Итого смены 1-3"));
    addPieceBlock(out, s, true, QStringLiteral("Итого переработка"));
    int good = 0;
    for (const PieceLine& p : s.pieces)
        good += p.good();
    out.push_back(pieceTotal(QStringLiteral("Итого сдельно"), good, s.pieceKopecks()));
}

void addHousehold(std::vector<Line>& out, const Statement& s)
{
    out.push_back(boldText(QStringLiteral("Хозяйственные работы")));
    if (s.household.empty()) {
        out.push_back(text(QStringLiteral("Записей за период нет")));
        return;
    }
    out.push_back({Style::ColumnsBold,
                   {QStringLiteral("Дата"), QStringLiteral("Вид работы"), QStringLiteral("Часы"),
                    QStringLiteral("Цена за час"), QStringLiteral("Сумма")}});
    int hours = 0;
    for (const HouseholdLine& h : s.household) {
        out.push_back({Style::Columns, {dateText(h.date), h.kind, number(h.hours), price(h.price), money(h.amountKopecks)}});
        hours += h.hours;
    }
    out.push_back({Style::ColumnsBold,
                   {{}, QStringLiteral("Итого хозяйственные работы"), number(hours), {}, money(s.householdKopecks())}});
}

void addHours(std::vector<Line>& out, const Statement& s)
{
    out.push_back(boldText(QStringLiteral("Отработано по табелю")));
    out.push_back({Style::ColumnsBold, {{}, QStringLiteral("Смена"), QStringLiteral("Часы"), QStringLiteral("Дней"), {}}});
    for (int shift = 0; shift < 3; ++shift)
        out.push_back({Style::Columns,
                       {{}, QString::number(shift + 1), number(s.hours.hours[size_t(shift)]),
                        number(s.hours.days[size_t(shift)]), {}}});
    out.push_back({Style::ColumnsBold,
                   {{}, QStringLiteral("Всего"), number(s.hours.total()), number(s.hours.daysWorked), {}}});
}

}  // namespace

int cellCount(Style style)
{
    switch (style) {
    case Style::Piece:
    case Style::PieceBold:
        return 11;
    case Style::Columns:
    case Style::ColumnsBold:
        return 5;
    case Style::Text:
    case Style::TextBold:
        return 2;
    }
    return 0;
}

bool isBold(Style style) { return style == Style::PieceBold || style == Style::ColumnsBold || style == Style::TextBold; }

QString title(const QDate& from, const QDate& to) { return QStringLiteral("Расчетный листок ") + periodCaption(from, to); }

std::vector<Line> lines(const Statement& s)
{
    std::vector<Line> out;
    if (s.empty() && s.hours.total() == 0) {
        out.push_back(text(QStringLiteral("За период нет ни записей журнала, ни хозяйственных работ")));
        return out;
    }
    addPieceWork(out, s);
    out.push_back(text({}));
    addHousehold(out, s);
    out.push_back(text({}));
    addHours(out, s);
    out.push_back(text({}));
    out.push_back(boldText(QStringLiteral("Итого к выплате"), money(s.totalKopecks())));
    out.push_back(text({}));
    out.push_back(text(QStringLiteral("С расчетом ознакомлен: ____________ / дата ______")));
    return out;
}

}  // namespace pay_statement
