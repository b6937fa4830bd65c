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

// `count` records from `first` on; `worker`, `operation`, `day`, `shift` and `color` are
// SQL expressions of g (0-based record number), w (worker keys), o (operation keys) and
// i (their items). Together they must never repeat (worker, item, operation, day, shift,
// colour): the journal's unique index refuses a repeated record.
struct RecordPattern {
    QString worker;
    QString operation;
    QString day;
    QString shift;
    QString color;
};

void seedRecords(Connection& connection, const QDate& first, int count, const RecordPattern& p)
{
    connection.execute(
        QStringLiteral(
            "with w as (select array_agg(id order by id) a from accounts_dep.person), "
            "o as (select array_agg(id order by id) a, array_agg(i_id order by id) i from accounts_dep.oper) "
            "insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod, prize, "
            "                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
            "select %2, o.i[%3], o.a[%3], 10.5 + g % 7 * 0.25, 10 + g % 13, g % 3, %1 + %4, %5, %6, 8, 'no', "
            "now(), 0, 0, 0, 0, 0, 0 from generate_series(0, %7 - 1) g, w, o")
            .arg(sql_text::toDate(first), p.worker, p.operation, p.day, p.shift, p.color)
            .arg(count));
}

// Each worker works on some thirty operations a month (from `firstOperation` on), three a
// day. A worker's records of one day (k counts them) differ in shift and colour: three
// shifts by five colours (0, 1 and RAL numbers) hold the 15 a day the month needs.
RecordPattern monthPattern(const PlantReports& plant, int operations, int firstOperation)
{
    const QString k = QStringLiteral("(g / %1)").arg(plant.workers * 28);
    const QString day = QStringLiteral("(g / %1 % 28)").arg(plant.workers);
    return {QStringLiteral("w.a[1 + g % %1]").arg(plant.workers),
            QStringLiteral("1 + (g % %1 * 7 + %2 % 3 + %3 % 10 * 3 + %4) % %5")
                .arg(plant.workers)
                .arg(k, day)
                .arg(firstOperation)
                .arg(operations),
            day, QStringLiteral("1 + %1 % 3").arg(k), QStringLiteral("(array[0, 1, 5, 6, 7])[1 + %1 / 3 % 5]").arg(k)};
}

}  // namespace

int seedPlantReports(Connection& connection, const PlantReports& plant)
{
    seedReferenceData(connection, plant);
    const int operations = plant.items * kKinds;
    seedRecords(connection, plant.reportMonth, plant.records, monthPattern(plant, operations, 0));
    for (int month = 0; month < 12; ++month)
        seedRecords(connection, plant.reportYear.addMonths(month), plant.records, monthPattern(plant, operations, month / 3 * 30));
    // One record per spreadsheet row: every operation in as many colours as it takes.
    seedRecords(connection, plant.productionMonth, plant.productionRows,
                {QStringLiteral("w.a[1 + g % %1]").arg(plant.workers), QStringLiteral("1 + g % %1").arg(operations),
                 QStringLiteral("g % 28"), QStringLiteral("1 + g % 3"), QStringLiteral("2 + g / %1").arg(operations)});
    connection.execute(QStringLiteral("analyze"));
    return scalar(connection, QStringLiteral("select count(*) from accounts_dep.smena where data >= %1 and data < %2")
                                  .arg(sql_text::toDate(plant.reportMonth), sql_text::toDate(plant.reportMonth.addMonths(1))));
}
