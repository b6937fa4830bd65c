#include "cell_by_cell_rebuild.h"

#include "data_module.h"

#include <QDate>

namespace {

bool rowExists(TDataModule6& module, const QString& worker, const QString& shift, const QString& month,
               const QString& year)
{
    module.Control.clearSql();
    module.Control.addSqlLine(QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel h_tabel where w_id=") + worker
                              + QStringLiteral(" and smena=") + shift + QStringLiteral(" and month=") + month
                              + QStringLiteral(" and year=") + year);
    module.Control.open();
    const int count = module.Control.fieldByName(QStringLiteral("cnt")).asInteger();
    module.Control.close();
    return count != 0;
}

void writeCell(TDataModule6& module, const QString& worker, const QString& shift, const QString& month,
               const QString& year, const QString& day, const QString& hours)
{
    if (rowExists(module, worker, shift, month, year))
        module.H_Tabel_ins.setSql(QStringLiteral("update accounts_dep.h_tabel set d") + day + QStringLiteral("='") + hours
                                  + QStringLiteral("' where w_id=") + worker + QStringLiteral(" and smena=") + shift
                                  + QStringLiteral(" and month=") + month + QStringLiteral(" and year=") + year);
    else
        module.H_Tabel_ins.setSql(QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d") + day
                                  + QStringLiteral(") ") + QStringLiteral("values(") + shift + QStringLiteral(", ") + worker
                                  + QStringLiteral(", ") + month + QStringLiteral(", ") + year + QStringLiteral(", ")
                                  + hours + QStringLiteral(")"));
    module.H_Tabel_ins.execute();
}

}  // namespace

void rebuildMonthCellByCell(TDataModule6& module, Dataset& dt, int month, int year)
{
    const QString monthText = QString::number(month);
    const QString yearText = QString::number(year);
    module.DelSmena.setSql(QStringLiteral("delete from accounts_dep.h_tabel where month=") + monthText
                           + QStringLiteral(" and year=") + yearText);
    module.DelSmena.execute();
    dt.close();
    const QDate first(year, month, 1);
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        dt.setParam(QStringLiteral("data"), first.addDays(day - 1));
        dt.open();
        for (dt.first(); !dt.eof(); dt.next())
            writeCell(module, dt.fieldByName(QStringLiteral("w_id")).asString(),
                      dt.fieldByName(QStringLiteral("smena")).asString(), monthText, yearText, QString::number(day),
                      dt.fieldByName(QStringLiteral("tim")).asString());
        dt.close();
    }
}
