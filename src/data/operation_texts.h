#pragma once

#include <QString>

// How the program names an operation's product kind and describes an operation to users.

// Product kind 0 is finished goods, any other value blanks.
inline QString productKindName(int naimen)
{
    return naimen == 0 ? QStringLiteral("Готовая продукция") : QStringLiteral("Заготовки");
}

// "brand; kind; product kind", names without their padding blanks.
inline QString operationDescription(const QString& marka, const QString& vid, int naimen)
{
    return marka.trimmed() + QStringLiteral("; ") + vid.trimmed() + QStringLiteral("; ") + productKindName(naimen);
}
