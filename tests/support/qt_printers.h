#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

// Texts in failure messages as the user reads them, not as UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << "{\"" << texts.join(QStringLiteral("\", \"")).toStdString() << "\"}";
}
