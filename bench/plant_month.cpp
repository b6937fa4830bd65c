#include "plant_month.h"

#include "connection.h"
#include "sql_text.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

int scalar(Connection& connection, const QString& sql)
{
    const PgResultHandle result = connection.execute(sql);
    return QString::fromUtf8(PQgetvalue(result.get(), 0, 0)).toInt();
}

}  // namespace

int seedPlantMonth(Connection& connection, const PlantMonth& plant)
{
    connection.execute(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) "
                                      "select 'Рабочий №' || lpad(g::text, 3, '0'), 'Цех №' || (g % 3 + 1) "
                                      "from generate_series(1, %1) g")
                           .arg(plant.workers));
    const QDate first(plant.year, plant.month, 1);
    // Hours 3 + 3 + 2 a day, one more on the first record of every seventh worker (over 8
    // hours); overtime two hours.
    connection.execute(
        QStringLiteral(
            "with w as (select id, row_number() over (order by id) as n from accounts_dep.person), "
            "days as (select d::date as data from generate_series(%1, %2, interval '1 day') d "
            "         where extract(isodow from d) < 6), "
            "recs as (select w.id, w.n, days.data, 1 + w.n % 3 as smena, r as part, "
            "                case when r < 3 then 3 else 2 end + case when r = 1 and w.n % 7 = 0 then 1 else 0 end as hours "
            "         from w cross join days cross join generate_series(1, 3) r "
            "         union all "
            "         select w.id, w.n, days.data, 4, 1, 2 from w cross join days where w.n % 4 = 0) "
            "insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, ok, vvod, prize, "
            "                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
            "select id, 1 + n % 5, 1 + part, 12.5 + part, 20 + part, part % 2, data, smena, 0, hours, 'no', now(), 0, 0, 0, 0, 0, 0 "
            "from recs")
            .arg(sql_text::toDate(first), sql_text::toDate(first.addMonths(1).addDays(-1))));
    connection.execute(QStringLiteral("analyze accounts_dep.smena"));
    return scalar(connection, QStringLiteral("select count(*) from accounts_dep.smena where data between %1 and %2")
                                  .arg(sql_text::toDate(first), sql_text::toDate(first.addMonths(1).addDays(-1))));
}

int growErpPersons(Connection& connection, int wanted)
{
    const int persons = scalar(connection, QStringLiteral("select count(*) from cmn_contractor.person"));
    if (wanted <= persons)
        return persons;
    connection.execute(QStringLiteral("insert into cmn_contractor.person (s_caption, s_code) "
                                      "select 'Лицо ERP №' || g, (900000 + g)::text from generate_series(%1, %2) g")
                           .arg(persons + 1)
                           .arg(wanted));
    connection.execute(QStringLiteral("analyze cmn_contractor.person"));
    return wanted;
}

void seedAndDescribePlantMonth(Connection& connection, const PlantMonth& plant)
{
    const int records = seedPlantMonth(connection, plant);
    benchmark::AddCustomContext("plant month", QStringLiteral("%1.%2: %3 workers, %4 journal records")
                                                   .arg(plant.month)
                                                   .arg(plant.year)
                                                   .arg(plant.workers)
                                                   .arg(records)
                                                   .toStdString());
}
