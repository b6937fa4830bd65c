#include "write_statements.h"

namespace smena_sql {

QString insert()
{
    return QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
                          "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(:w_id, :i_id, "
                          ":o_id, :cena,:kol_vo, :brak, to_date(:data, 'DD.MM.YYYY HH24:MI:SS'), :smena, :color, :time, "
                          ":vvod, 'no', 0, 0, 0, 0, 0, 0)");
}

QString update()
{
    return QStringLiteral("update accounts_dep.SMENA set w_id=:w_id, i_id=:i_id, o_id=:o_id, cena=:cena, kol_vo=:kol_vo, "
                          "brak=:brak, data=to_date(:data, 'DD.MM.YYYY'), smena=:smena, color=:color, time=:time, "
                          "vvod=:vvod, prize=0, id_doc=0, id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 "
                          "where id=:id and xmin=:version");
}

QString remove() { return QStringLiteral("delete from accounts_dep.smena where id=:id"); }

QString removeOfItem() { return QStringLiteral("delete from accounts_dep.smena s where s.i_id =:id"); }

QString setAcceptance() { return QStringLiteral("update accounts_dep.smena set ok=:ok where id=:id and xmin=:version"); }

}  // namespace smena_sql

namespace h_tabel_sql {

QString removeMonth() { return QStringLiteral("delete from accounts_dep.h_tabel where month=:month and year=:year"); }

QString keyCondition() { return QStringLiteral(" where w_id=:w_id and smena=:smena and month=:month and year=:year"); }

QString dayColumn(int day) { return QStringLiteral("d%1").arg(day); }

QString setDay(int day)
{
    return QStringLiteral("update accounts_dep.h_tabel set ") + dayColumn(day) + QStringLiteral("=:hours") + keyCondition();
}

QString insertDay(int day)
{
    return QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, ") + dayColumn(day)
        + QStringLiteral(") values(:smena, :w_id, :month, :year, :hours)");
}

QString insertRows(const QStringList& rows)
{
    QStringList dayColumns;
    for (int day = 1; day <= 31; ++day)
        dayColumns << dayColumn(day);
    return QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, ") + dayColumns.join(QStringLiteral(", "))
        + QStringLiteral(") values ") + rows.join(QStringLiteral(",\n"));
}

}  // namespace h_tabel_sql

namespace fatigue_sql {

QString remove() { return QStringLiteral("delete from accounts_dep.fatigue where id=:id and xmin=:version"); }

QString insert()
{
    return QStringLiteral("INSERT INTO accounts_dep.fatigue(id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, "
                          "price)VALUES(:id_nom, :id_o ,:id_p, to_date(:d_date, 'DD.MM.YYYY'), :i_mnth, :i_year, "
                          ":i_smena, :cnt, :price)");
}

QString update()
{
    return QStringLiteral("UPDATE accounts_dep.fatigue SET id_nom=:id_nom, id_o=:id_o, id_p=:id_p, cnt=:cnt, "
                          "price=:price where id=:id and xmin=:version");
}

}  // namespace fatigue_sql

namespace oper_sql {

QString insert()
{
    return QStringLiteral("insert into accounts_dep.oper(vid, naimen, i_id, cena_new)values (:vid, :naimen, :i_id, 0)");
}

QString update() { return QStringLiteral("update accounts_dep.oper set vid=:vid, naimen=:naimen,  i_id=:i_id where id=:id"); }

QString removeOfItem() { return QStringLiteral("delete from accounts_dep.oper o where o.i_id =:id"); }

QString remove() { return QStringLiteral("delete from accounts_dep.oper where id=:id"); }

}  // namespace oper_sql

namespace norm_sql {

QString removeOfItem()
{
    return QStringLiteral("delete from accounts_dep.norm where o_id in (select id from accounts_dep.oper where i_id = :id)");
}

QString removeOfOperation() { return QStringLiteral("delete from accounts_dep.norm where o_id=:id"); }

}  // namespace norm_sql

namespace goods_sql {

QString remove() { return QStringLiteral("delete from cmn_gds_and_srv.gds_and_srv  where id=:id"); }

QString insert()
{
    return QStringLiteral("INSERT INTO cmn_gds_and_srv.gds_and_srv(s_caption, s_description, id_msm_bs, massa, "
                          "id_class_item)VALUES(:s_caption, '', 6, :massa,:id_class_item)");
}

QString update()
{
    return QStringLiteral("UPDATE cmn_gds_and_srv.gds_and_srv SET s_caption=:s_caption, s_description='', "
                          "id_msm_bs=6, massa=:massa, id_class_item=:id_class_item where id=:id");
}

}  // namespace goods_sql

namespace person_sql {

QString insert() { return QStringLiteral("INSERT INTO accounts_dep.person (fio, s_staffpos_hl)VALUES(:fio, :s_staffpos_hl)"); }

QString update()
{
    return QStringLiteral("UPDATE accounts_dep.person SET fio=:fio, s_staffpos_hl=:s_staffpos_hl "
                          "where accounts_dep.person.id=:id");
}

QString remove() { return QStringLiteral("delete from accounts_dep.person where id =:id"); }

}  // namespace person_sql
