#include "acceptance_mark.h"

#include "acceptance.h"
#include "data_grid.h"

namespace acceptance_mark {

void paintCell(const CellContext& cell, CellLook& look)
{
    if (!cell.gridColumn || cell.gridColumn->field != QStringLiteral("ok"))
        return;
    look.bold = true;
    look.text = acceptance::isAccepted(cell.value.value_or(QString())) ? QColor(0, 128, 0) : QColor(255, 0, 0);
    look.textColorWhenSelected = true;
}

}  // namespace acceptance_mark
