#include "copy_text.h"

#include <QDate>
#include <QLocale>
#include <cmath>
#include <optional>

namespace {

QString shown(QStringView text) { return QStringLiteral("«%1»").arg(text.toString()); }

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// An integer of plain decimal digits with an optional sign, appended without the plus.
bool appendPlainInteger(QByteArray& row, QStringView text)
{
    qsizetype start = 0;
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')))
        start = 1;
    if (start == text.size() || text.size() - start > 18)
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (!isDigit(text[i]))
            return false;
    if (text[0] == QLatin1Char('-'))
        row += '-';
    for (qsizetype i = start; i < text.size(); ++i)
        row += char(text[i].unicode());
    return true;
}

std::optional<double> number(QStringView text)
{
    QString dotted = text.toString();
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(dotted, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void appendInteger(QByteArray& row, QStringView text)
{
    if (appendPlainInteger(row, text))
        return;
    // A number column of the earlier database may hand a whole number over as "5.0".
    const std::optional<double> value = number(text);
    if (!value || *value != std::trunc(*value) || std::fabs(*value) > 9.0e15)
        throw RefusedValue{shown(text) + QStringLiteral(" не целое число")};
    row += QByteArray::number(qint64(*value));
}

void appendFloat(QByteArray& row, QStringView text)
{
    const std::optional<double> value = number(text);
    if (!value)
        throw RefusedValue{shown(text) + QStringLiteral(" не число")};
    row += QByteArray::number(*value, 'g', QLocale::FloatingPointShortest);
}

// Text the way COPY reads it: backslash, tab and line ends escaped.
void appendText(QByteArray& row, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            row += "\\\\";
            break;
        case '\t':
            row += "\\t";
            break;
        case '\n':
            row += "\\n";
            break;
        case '\r':
            row += "\\r";
            break;
        default:
            row += c;
        }
    }
}

// A date or a date and time in one of the two fixed forms the earlier data uses:
// ISO ("2019-03-05", "2019-03-05 14:30:00", seconds and fractions optional, "T" allowed)
// or the program's own ("05.03.2019", "05.03.2019 14:30:00").
struct Moment {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    QStringView fraction;  // digits after the seconds, if any
    bool hasTime = false;
};

class MomentParser {
public:
    explicit MomentParser(QStringView text) : text_(text) {}

    std::optional<Moment> parse()
    {
        Moment m;
        if (!date(m))
            return std::nullopt;
        if (at_ < text_.size() && !time(m))
            return std::nullopt;
        if (at_ != text_.size() || !QDate::isValid(m.year, m.month, m.day) || m.hour > 23 || m.minute > 59 ||
            m.second > 59)
            return std::nullopt;
        return m;
    }

private:
    bool digits(int count, int& value)
    {
        value = 0;
        for (int i = 0; i < count; ++i, ++at_) {
            if (at_ >= text_.size() || !isDigit(text_[at_]))
                return false;
            value = value * 10 + (text_[at_].unicode() - '0');
        }
        return true;
    }

    bool separator(char c)
    {
        if (at_ >= text_.size() || text_[at_] != QLatin1Char(c))
            return false;
        ++at_;
        return true;
    }

    bool date(Moment& m)
    {
        if (text_.size() >= 5 && text_[4] == QLatin1Char('-'))
            return digits(4, m.year) && separator('-') && digits(2, m.month) && separator('-') && digits(2, m.day);
        return digits(2, m.day) && separator('.') && digits(2, m.month) && separator('.') && digits(4, m.year);
    }

    bool time(Moment& m)
    {
        if (!separator(' ') && !separator('T'))
            return false;
        m.hasTime = true;
        if (!digits(2, m.hour) || !separator(':') || !digits(2, m.minute))
            return false;
        if (!separator(':'))
            return at_ == text_.size();
        if (!digits(2, m.second))
            return false;
        if (!separator('.'))
            return true;
        const qsizetype start = at_;
        while (at_ < text_.size() && isDigit(text_[at_]))
            ++at_;
        m.fraction = text_.mid(start, at_ - start);
        return !m.fraction.isEmpty();
    }

    QStringView text_;
    qsizetype at_ = 0;
};

void appendDigits(QByteArray& row, int value, int width)
{
    row += QByteArray::number(value).rightJustified(width, '0');
}

void appendDate(QByteArray& row, const Moment& m)
{
    appendDigits(row, m.year, 4);
    row += '-';
    appendDigits(row, m.month, 2);
    row += '-';
    appendDigits(row, m.day, 2);
}

void appendMoment(QByteArray& row, FieldKind kind, QStringView text)
{
    const std::optional<Moment> moment = MomentParser(text).parse();
    if (!moment) {
        throw RefusedValue{shown(text) + (kind == FieldKind::Date
                                              ? QStringLiteral(" не дата (нужно ГГГГ-ММ-ДД или ДД.ММ.ГГГГ)")
                                              : QStringLiteral(" не дата и время (нужно ГГГГ-ММ-ДД ЧЧ:ММ:СС "
                                                               "или ДД.ММ.ГГГГ ЧЧ:ММ:СС)"))};
    }
    appendDate(row, *moment);
    // A date column keeps the day of a value that carries a time of day as well.
    if (kind == FieldKind::Date)
        return;
    row += ' ';
    appendDigits(row, moment->hour, 2);
    row += ':';
    appendDigits(row, moment->minute, 2);
    row += ':';
    appendDigits(row, moment->second, 2);
    if (!moment->fraction.isEmpty()) {
        row += '.';
        row += moment->fraction.toLatin1();
    }
}

}  // namespace

namespace copy_text {

void appendNull(QByteArray& row) { row += "\\N"; }

void appendValue(QByteArray& row, FieldKind kind, QStringView text)
{
    switch (kind) {
    case FieldKind::Integer:
        appendInteger(row, text.trimmed());
        break;
    case FieldKind::Float:
        appendFloat(row, text.trimmed());
        break;
    case FieldKind::Text:
        appendText(row, text);
        break;
    case FieldKind::Date:
    case FieldKind::DateTime:
        appendMoment(row, kind, text.trimmed());
        break;
    }
}

}  // namespace copy_text
