#pragma once

#include <QString>

struct CellContext;
struct CellLook;

// The acceptance mark of a journal record: "ok", or "да" in older records, means
// accepted; anything else, an empty mark included, means not accepted.
namespace acceptance_mark {

bool isAccepted(const QString& mark);

// The mark a double click writes: accepted records become "no", all others "ok".
QString toggled(const QString& mark);

// Paints the "OK" column of the journal grid: bold green when accepted, bold red
// otherwise, also on the selected row. Other columns are left as they are.
void paintCell(const CellContext& cell, CellLook& look);

}  // namespace acceptance_mark
