#pragma once

#include <QString>
#include <QStringList>

// A statement text with ":name" placeholders turned into libpq's "$n".
// "::type" casts, quoted texts, double-quoted identifiers and comments are left alone;
// a name used twice is the same "$n".
struct ParsedStatement {
    QString text;        // the statement with $1, $2, ...
    QStringList names;   // names[n - 1] is the parameter of $n, in lower case
};

ParsedStatement parseNamedParameters(const QString& sql);
