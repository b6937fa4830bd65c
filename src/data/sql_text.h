#pragma once

#include <QDate>
#include <QString>

// Pieces of SQL text as the program writes them: dates inside to_date, numbers with a
// full stop whatever the locale, texts between single quotes with quotes doubled so
// that a typed quote is stored as typed and can never end the text early.
namespace sql_text {

QString dateText(const QDate& date);        // "DD.MM.YYYY"
QString toDate(const QDate& date);          // to_date('DD.MM.YYYY', 'DD.MM.YYYY')
QString quoted(const QString& value);       // 'value' with ' doubled
QString decimal(double value, int decimals);// fixed decimals, full stop
// A text column read as an integer where it holds one (an optionally signed run of digits
// in the integer range, blanks around it), null otherwise: a code no integer can equal
// then matches no integer key instead of failing the whole statement as a plain cast does.
QString integerOrNull(const QString& column);

}  // namespace sql_text
