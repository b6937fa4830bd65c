#include "production_export.h"

#include "dataset.h"
#include "excel_export.h"
#include "number_text.h"
#include "operation_texts.h"
#include "wait_cursor.h"

#include <QStringList>
#include <cmath>

namespace {

QStringList productionRow(const Dataset& query)
{
    auto field = [&](const char* name) { return query.fieldByName(QLatin1String(name)); };
    return {field("nom").asString().trimmed(),
            kindWithColour(field("vid").asString(), field("color").asInteger()),
            productKindName(field("naimen").asInteger()),
            numberText(field("mass").asFloat()),
            wholeQuantityText(field("kolvo").asFloat())};
}

}  // namespace

QString productionSql()
{
    return QStringLiteral(
        "select sum(smena.kol_vo-smena.brak)::numeric as kolvo, vid_oper.vid,\n"
        "izdel.nom, oper.naimen, color,izdel.massa*sum(smena.kol_vo-smena.brak) as mass \n"
        "from accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper, accounts_dep.oper where izdel.id=smena.i_id and vid_oper.id=oper.vid\n"
        "and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1 \n"
        "group by izdel.nom,color, oper.naimen, vid_oper.vid, izdel.massa order by izdel.nom");
}

// Kind names come from a fixed-width column; its padding blanks are not part of the name.
QString kindWithColour(const QString& vid, int color)
{
    const QString kind = vid.trimmed();
    if (color == 1)
        return kind + QStringLiteral(" (грунт)");
    if (color > 1)
        return kind + QStringLiteral(" (цвет: %1)").arg(color);
    return kind;
}

// nearbyint rounds in the default mode, to nearest with halves to even.
QString wholeQuantityText(double quantity) { return QString::number(qint64(std::nearbyint(quantity))); }

void exportProduction(Dataset& XLS_Rep, ExcelExport& excel, const std::function<void(const QString&)>& showProgress)
{
    const WaitCursor hourglass;
    XLS_Rep.open();
    if (excel.OpenExcel(QString()) == -1) {
        // Closed here too, so the next export reads the period chosen then.
        XLS_Rep.close();
        return;
    }
    const QString ofTotal = QStringLiteral(" из %1)").arg(XLS_Rep.recordCount());
    showProgress(QStringLiteral("Excel (0") + ofTotal);
    XLS_Rep.first();
    writeSheetRow(excel, 1,
                  {QStringLiteral("Наименование"), QStringLiteral("Операция"), QStringLiteral("Вид продукции"),
                   QStringLiteral("Коробки"), QStringLiteral("Кол-во")},
                  true);
    for (int row = 2; !XLS_Rep.eof(); ++row) {
        writeSheetRow(excel, row, productionRow(XLS_Rep));
        XLS_Rep.next();
        showProgress(QStringLiteral("Excel (%1").arg(row - 1) + ofTotal);
    }
    excel.ShowExcel(true);
    XLS_Rep.close();
}
