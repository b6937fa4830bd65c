#include "journal_record.h"

#include "sql_text.h"

namespace pay {

namespace {

QString rangeRefusal(const Limit& limit, qint64 value)
{
    const QString field = QString::fromUtf8(limit.field);
    if (value < 0)
        return field + QStringLiteral(": число не может быть отрицательным");
    if (value > limit.maximum)
        return field + QStringLiteral(": число слишком большое (не больше ") + QString::number(limit.maximum) + QLatin1Char(')');
    return {};
}

}  // namespace

QString refusal(const JournalRecord& record)
{
    const std::pair<const Limit&, qint64> values[] = {{kQuantityLimit, record.quantity},
                                                      {kRejectsLimit, record.rejects},
                                                      {kColourLimit, record.colour},
                                                      {kHoursLimit, record.hours}};
    for (const auto& [limit, value] : values)
        if (const QString refused = rangeRefusal(limit, value); !refused.isEmpty())
            return refused;
    // More rejects than pieces would pay a negative amount.
    if (record.rejects > record.quantity)
        return QStringLiteral("Брак не может быть больше количества!");
    return {};
}

QString dayHoursRefusal(const QDate& date, int hours)
{
    if (hours <= kMaxDayHours)
        return {};
    return QStringLiteral("Время: у работника за %1 в этой смене выходит %2 ч., а больше %3 быть не может")
        .arg(sql_text::dateText(date))
        .arg(hours)
        .arg(kMaxDayHours);
}

}  // namespace pay
