#include "copy_text.h"

#include <QDate>
#include <charconv>
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

// A number with a full stop or a comma before its fraction.
std::optional<double> number(QStringView text)
{
    char ascii[64];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof ascii))
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return std::nullopt;
        ascii[i] = c == u',' ? '.' : char(c);
    }
    double value = 0;
    const char* start = ascii[0] == '+' ? ascii + 1 : ascii;
    const char* end = ascii + text.size();
    const auto [stop, error] = std::from_chars(start, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
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
    char shortest[32];
    const auto [end, error] = std::to_chars(shortest, shortest + sizeof shortest, *value);
    row.append(shortest, end - shortest);
}

char escaped(char16_t c)
{
    switch (c) {
    case u'\\':
        return '\\';
    case u'\t':
        return 't';
    case u'\n':
        return 'n';
    case u'\r':
        return 'r';
    default:
        return 0;
    }
}

// Text the way COPY reads it, in UTF-8 with backslash, tab and line ends escaped.
void appendText(QByteArray& row, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (const char e = escaped(c)) {
            row += '\\';
            row += e;
        } else if (c < 0x80) {
            row += char(c);
        } else {
            // Letters beyond ASCII, up to the next character that needs no conversion.
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80)
                ++end;
            row += text.mid(i, end - i).toUtf8();
            i = end - 1;
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

    bool hour(int& value)
    {
        const bool twoDigits = at_ + 1 < text_.size() && isDigit(text_[at_ + 1]);
        return digits(twoDigits ? 2 : 1, value);
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
        // A Russian desktop writes an hour before ten with one digit ("9:42:02").
        if (!hour(m.hour) || !separator(':') || !digits(2, m.minute))
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
    char digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    row.append(digits, width);
}

void appendDate(QByteArray& row, const Moment& m)
{
    appendDigits(row, m.year, 4);
    row += '-';
    appendDigits(row, m.month, 2);
    row += '-';
    appendDigits(row, m.day, 2);
}

// MariaDB's zero date, with or without a time of day, stands for no date.
bool isZeroMoment(QStringView text)
{
    return text == QLatin1String("0000-00-00") || text == QLatin1String("0000-00-00 00:00:00");
}

void appendMoment(QByteArray& row, FieldKind kind, QStringView text)
{
    if (isZeroMoment(text)) {
        copy_text::appendNull(row);
        return;
    }
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
    // An empty or blank text in a number or date column (what a round trip through a
    // spreadsheet leaves) is no value.
    if (kind != FieldKind::Text && text.trimmed().isEmpty()) {
        appendNull(row);
        return;
    }
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
