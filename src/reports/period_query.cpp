#include "period_query.h"

#include "dataset.h"

void setPeriod(Dataset& query, const QDate& from, const QDate& to, ProductKindChoice kind)
{
    query.setParam(QStringLiteral("data1"), from);
    query.setParam(QStringLiteral("data2"), to);
    switch (kind) {
    case ProductKindChoice::All:
        query.setFiltered(false);
        break;
    case ProductKindChoice::FinishedGoods:
        query.setFilter(QStringLiteral("naimen=0"));
        query.setFiltered(true);
        break;
    case ProductKindChoice::Blanks:
        query.setFilter(QStringLiteral("naimen=1"));
        query.setFiltered(true);
        break;
    }
}
