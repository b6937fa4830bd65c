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

QString decimalFromTyped(const QString& typed)
{
    QString text = typed.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

}  // namespace sql_text
