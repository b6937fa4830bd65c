#include "sql_text.h"

namespace sql_text {

QString dateText(const QDate& date) { return date.toString(QStringLiteral("dd.MM.yyyy")); }

QString toDate(const QDate& date)
{
    return QStringLiteral("to_date('") + dateText(date) + QStringLiteral("', 'DD.MM.YYYY')");
}

QString quoted(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString decimal(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString integerOrNull(const QString& column)
{
    // The inner case keeps the casts away from texts that are no numbers.
    return QStringLiteral("(case when %1 ~ '^\\s*[+-]?[0-9]+\\s*$' then case when %1::numeric between -2147483648 "
                          "and 2147483647 then %1::integer end end)")
        .arg(column);
}

}  // namespace sql_text
