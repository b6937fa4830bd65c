#pragma once

struct CellContext;
struct CellLook;

// The acceptance mark of a journal record in the journal grid (see pay's acceptance).
namespace acceptance_mark {

// Paints the "OK" column of the journal grid: bold green when accepted, bold red
// otherwise, also on the selected row. Other columns are left as they are.
void paintCell(const CellContext& cell, CellLook& look);

}  // namespace acceptance_mark
