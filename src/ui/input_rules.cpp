#include "input_rules.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace {

// More digits than a 64-bit integer or a double holds exactly: too big for any column here.
constexpr int kMaxIntegerDigits = 15;

QString withoutLeadingZeros(const QString& digits)
{
    qsizetype first = 0;
    while (first + 1 < digits.size() && digits.at(first) == QLatin1Char('0'))
        ++first;
    return digits.mid(first);
}

QString plainNumber(double value) { return QString::number(value, 'f', 0); }

}  // namespace

InputRule InputRule::wholeNumber(const QString& field, qint64 minimum, qint64 maximum, const QString& unit)
{
    InputRule rule(Kind::Whole, field);
    rule.minimum_ = double(minimum);
    rule.maximum_ = double(maximum);
    rule.unit_ = unit;
    return rule;
}

InputRule InputRule::decimal(const QString& field, double minimum, double maximum, int decimals)
{
    InputRule rule(Kind::Decimal, field);
    rule.minimum_ = minimum;
    rule.maximum_ = maximum;
    rule.decimals_ = decimals;
    return rule;
}

InputRule InputRule::text(const QString& field, int maxLength)
{
    InputRule rule(Kind::Text, field);
    rule.maxLength_ = maxLength;
    return rule;
}

InputRule InputRule::optional() const
{
    InputRule rule = *this;
    rule.optional_ = true;
    return rule;
}

QString InputRule::refusal(const QString& problem) const { return field_ + QStringLiteral(": ") + problem; }

CheckedInput InputRule::check(const QString& typed) const
{
    const QString trimmed = typed.trimmed();
    if (trimmed.isEmpty())
        return optional_ ? CheckedInput{} : CheckedInput{{}, refusal(QStringLiteral("нужно заполнить"))};
    switch (kind_) {
    case Kind::Whole:
        return checkWhole(trimmed);
    case Kind::Decimal:
        return checkDecimal(trimmed);
    case Kind::Text:
        return checkText(trimmed);
    }
    return {};
}

QString InputRule::valueOf(const QString& typed) const { return acceptedValue(typed, nullptr); }

QString InputRule::valueOf(const QLineEdit* box) const { return acceptedValue(box->text(), box); }

QString InputRule::acceptedValue(const QString& typed, const QLineEdit* box) const
{
    const CheckedInput checked = check(typed);
    if (!checked.accepted())
        throw InputRefused(checked.refusal, box);
    return checked.value;
}

void InputRule::prepare(QLineEdit* box) const
{
    box->setValidator(nullptr);
    box->setMaxLength(32767);
}

QString InputRule::rangeRefusal(double value) const
{
    if (value < minimum_)
        return refusal(minimum_ == 0 ? QStringLiteral("число не может быть отрицательным")
                                     : QStringLiteral("число не меньше ") + plainNumber(minimum_));
    if (value > maximum_)
        return refusal(QStringLiteral("число слишком большое (не больше ") + plainNumber(maximum_) + QLatin1Char(')'));
    return {};
}

CheckedInput InputRule::checkWhole(const QString& typed) const
{
    static const QRegularExpression whole(QStringLiteral("^([-+]?)([0-9]+)$"));
    const QRegularExpressionMatch match = whole.match(typed);
    if (!match.hasMatch()) {
        const QString problem = QStringLiteral("нужно целое число");
        return {{}, refusal(unit_.isEmpty() ? problem : problem + QLatin1Char(' ') + unit_)};
    }
    const bool negative = match.captured(1) == QStringLiteral("-");
    const QString digits = withoutLeadingZeros(match.captured(2));
    if (digits.size() > kMaxIntegerDigits)
        return {{}, rangeRefusal(negative ? -1e300 : 1e300)};
    const qint64 value = negative ? -digits.toLongLong() : digits.toLongLong();
    const QString outOfRange = rangeRefusal(double(value));
    if (!outOfRange.isEmpty())
        return {{}, outOfRange};
    return {QString::number(value), {}};
}

CheckedInput InputRule::checkDecimal(const QString& typed) const
{
    // The user's separator, a full stop or a comma (the office types commas whatever the
    // desktop's settings); a group separator is no part of a typed number.
    const QString separators = QRegularExpression::escape(QLocale().decimalPoint() + QStringLiteral(".,"));
    const QRegularExpression number(QStringLiteral("^([-+]?)([0-9]*)(?:[%1]([0-9]*))?$").arg(separators));
    const QRegularExpressionMatch match = number.match(typed);
    const QString whole = withoutLeadingZeros(match.captured(2));
    const QString fraction = match.captured(3);
    if (!match.hasMatch() || (whole.isEmpty() && fraction.isEmpty()))
        return {{}, refusal(QStringLiteral("нужно число"))};
    const bool negative = match.captured(1) == QStringLiteral("-");
    if (whole.size() > kMaxIntegerDigits)
        return {{}, rangeRefusal(negative ? -1e300 : 1e300)};
    if (fraction.size() > decimals_)
        return {{}, refusal(QStringLiteral("не больше %1 знаков после запятой").arg(decimals_))};
    QString value = (negative ? QStringLiteral("-") : QString()) + (whole.isEmpty() ? QStringLiteral("0") : whole);
    if (!fraction.isEmpty())
        value += QLatin1Char('.') + fraction;
    const QString outOfRange = rangeRefusal(value.toDouble());
    if (!outOfRange.isEmpty())
        return {{}, outOfRange};
    return {value, {}};
}

CheckedInput InputRule::checkText(const QString& typed) const
{
    if (typed.size() > maxLength_)
        return {{}, refusal(QStringLiteral("не больше %1 символов").arg(maxLength_))};
    return {typed, {}};
}
