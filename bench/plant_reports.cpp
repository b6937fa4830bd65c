#include "plant_reports.h"

#include "connection.h"
#include "sql_text.h"

#include <QString>

namespace {

constexpr int kKinds = 10;

int scalar(Connection& connection, const QString& sql)
{
    const PgResultHandle result = connection.execute(sql);
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0)).toInt();
}

void seedReferenceData(Connection& connection, const PlantReports& plant)
{
    connection.execute(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) "
                                      "select 'Рабочий №' || lpad(g::text, 3, '0'), 'Цех №1' from generate_series(1, %1) g")
                           .arg(plant.workers));
    connection.execute(QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) "
                                      "select g, 2, 'Изделие №' || lpad(g::text, 2, '0') from generate_series(1, %1) g")
                           .arg(plant.items));
    connection.execute(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, "
                                      "id_class_item) select 'Марка ' || g, '', 6, 1.5 + g / 10.0, g from generate_series(1, %1) g")
                           .arg(plant.items));
    connection.execute(QStringLiteral("insert into accounts_dep.vid_oper (vid) select 'Операция №' || g from generate_series(1, %1) g")
                           .arg(kKinds));
    connection.execute(QStringLiteral("insert into accounts_dep.oper (vid, naimen, i_id, cena_new) "
                                      "select v.id, v.id % 2, i.id, 0 from accounts_dep.vid_oper v, accounts_dep.izdel i"));
}

// `count` records from `first` on, spread over 28 days; `worker`, `operation` and `color`
// are SQL expressions of g (0-based record number), w (worker keys), o (operation keys)
// and i (their items).
void seedRecords(Connection& connection, const QDate& first, int count, const QString& worker, const QString& operation,
                 const QString& color)
{
    connection.execute(
        QStringLiteral(
            "with w as (select array_agg(id order by id) a from accounts_dep.person), "
            "o as (select array_agg(id order by id) a, array_agg(i_id order by id) i from accounts_dep.oper) "
            "insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod, prize, "
            "                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
            "select %2, o.i[%3], o.a[%3], 10.5 + g % 7 * 0.25, 10 + g % 13, g % 3, %1 + g % 28, 1 + g % 3, %4, 8, 'no', "
            "now(), 0, 0, 0, 0, 0, 0 from generate_series(0, %5 - 1) g, w, o")
            .arg(sql_text::toDate(first), worker, operation, color)
            .arg(count));
}

}  // namespace

int seedPlantReports(Connection& connection, const PlantReports& plant)
{
    seedReferenceData(connection, plant);
    const int operations = plant.items * kKinds;
    // Each worker works on a few operations: records follow the worker through the month.
    seedRecords(connection, plant.reportMonth, plant.records, QStringLiteral("w.a[1 + g % %1]").arg(plant.workers),
                QStringLiteral("1 + (g % %1 * 7 + g / %2 % 3) % %3").arg(plant.workers).arg(plant.workers * 28).arg(operations),
                QStringLiteral("case g % 4 when 0 then 0 when 1 then 1 else 5 + g % 3 end"));
    // One record per spreadsheet row: every operation in as many colours as it takes.
    seedRecords(connection, plant.productionMonth, plant.productionRows, QStringLiteral("w.a[1 + g % %1]").arg(plant.workers),
                QStringLiteral("1 + g % %1").arg(operations), QStringLiteral("2 + g / %1").arg(operations));
    connection.execute(QStringLiteral("analyze"));
    return scalar(connection, QStringLiteral("select count(*) from accounts_dep.smena where data >= %1 and data < %2")
                                  .arg(sql_text::toDate(plant.reportMonth), sql_text::toDate(plant.reportMonth.addMonths(1))));
}
