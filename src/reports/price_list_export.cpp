#include "price_list_export.h"

#include "dataset.h"
#include "excel_export.h"
#include "number_text.h"
#include "operation_texts.h"
#include "wait_cursor.h"

#include <QStringList>

namespace {

// Names come from fixed-width columns; their padding blanks are not part of the name.
QStringList operationRow(const Dataset& query)
{
    return {query.fieldByName(QStringLiteral("MARKA")).asString().trimmed(),
            query.fieldByName(QStringLiteral("VID")).asString().trimmed(),
            numberText(query.fieldByName(QStringLiteral("cena")).asFloat()),
            productKindName(query.fieldByName(QStringLiteral("NAIMEN")).asInteger())};
}

}  // namespace

QString priceListSql()
{
    return QStringLiteral(
        "select izdel.MARKA, vid_oper.VID, oper.NAIMEN,(SELECT (CASE naimen WHEN 0 THEN 'Готовая продукция' ELSE "
        "'Заготовки' END)) as nmn, oper.CENA_new as cena, oper.id, oper.i_id,\n"
        " oper.VID as oper_vid from accounts_dep.OPER,accounts_dep.IZDEL,accounts_dep.VID_OPER where "
        "OPER.i_id=IZDEL.id \n"
        "and oper.vid=vid_oper.id order by izdel.marka, vid_oper.vid, oper.naimen");
}

void exportPriceList(Dataset& XLS_Rep, ExcelExport& excel)
{
    const WaitCursor hourglass;
    XLS_Rep.open();
    if (excel.OpenExcel(QString()) == -1) {
        // Closed here too, so the next export reads the operations afresh.
        XLS_Rep.close();
        return;
    }
    XLS_Rep.first();
    writeSheetRow(excel, 1, {QStringLiteral("Марка"), QStringLiteral("Операция"), QStringLiteral("Цена"),
                             QStringLiteral("Вид")},
                  true);
    for (int row = 2; !XLS_Rep.eof(); XLS_Rep.next(), ++row)
        writeSheetRow(excel, row, operationRow(XLS_Rep));
    excel.ShowExcel(true);
    XLS_Rep.close();
}
