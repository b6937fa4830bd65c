#pragma once

#include <QDate>

class Dataset;

// The product kinds a period report can be limited to, as the chooser lists them.
enum class ProductKindChoice { All = 0, FinishedGoods = 1, Blanks = 2 };

// Sets a period query's "data1" (from, inclusive) and "data2" (to, exclusive) and its
// client-side product-kind filter on naimen. The query is not opened here.
void setPeriod(Dataset& query, const QDate& from, const QDate& to, ProductKindChoice kind);
