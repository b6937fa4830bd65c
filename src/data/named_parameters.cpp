#include "named_parameters.h"

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Index just past a quoted run that opens at `start` with `quote`; a doubled quote stays inside.
qsizetype skipQuoted(const QString& s, qsizetype start, QChar quote)
{
    qsizetype i = start + 1;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

qsizetype skipLineComment(const QString& s, qsizetype start)
{
    const qsizetype end = s.indexOf(QLatin1Char('\n'), start);
    return end < 0 ? s.size() : end;
}

qsizetype skipBlockComment(const QString& s, qsizetype start)
{
    const qsizetype end = s.indexOf(QStringLiteral("*/"), start + 2);
    return end < 0 ? s.size() : end + 2;
}

}  // namespace

ParsedStatement parseNamedParameters(const QString& sql)
{
    ParsedStatement parsed;
    parsed.text.reserve(sql.size());
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        qsizetype next = i + 1;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            next = skipQuoted(sql, i, c);
        } else if (c == QLatin1Char('-') && sql.mid(i, 2) == QStringLiteral("--")) {
            next = skipLineComment(sql, i);
        } else if (c == QLatin1Char('/') && sql.mid(i, 2) == QStringLiteral("/*")) {
            next = skipBlockComment(sql, i);
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && sql[i + 1] == QLatin1Char(':')) {
            next = i + 2;  // a cast
        } else if (c == QLatin1Char(':') && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < sql.size() && isNameChar(sql[end]))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1).toLower();
            qsizetype index = parsed.names.indexOf(name);
            if (index < 0) {
                parsed.names.append(name);
                index = parsed.names.size() - 1;
            }
            parsed.text += QLatin1Char('$') + QString::number(index + 1);
            i = end;
            continue;
        }
        parsed.text += sql.mid(i, next - i);
        i = next;
    }
    return parsed;
}
