#pragma once

#include "legacy_tables.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// A legacy value that cannot become a value of its column; reason says why, in Russian.
struct RefusedValue {
    QString reason;
};

// Values in the text form of COPY … FROM STDIN: tab between fields, a line per row,
// \N for null. Numbers carry a full stop and dates are ISO, whatever the user's locale.
namespace copy_text {

void appendNull(QByteArray& row);
// Appends the value converted as its kind says; throws RefusedValue.
void appendValue(QByteArray& row, FieldKind kind, QStringView text);

}  // namespace copy_text
