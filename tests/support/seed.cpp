#include "seed.h"

#include "sql_text.h"

using sql_text::quoted;

int Seed::worker(const QString& fio, const QString& position)
{
    return db_.scalar(QStringLiteral("insert into accounts_dep.person (fio, s_staffpos_hl) values (%1, %2) returning id")
                          .arg(quoted(fio), quoted(position)))
        .toInt();
}

int Seed::classifierEntry(const QString& caption)
{
    return db_.scalar(QStringLiteral("insert into cmn_classifier.item (id, id_level, s_caption) "
                                     "values ((select coalesce(max(id), 0) + 1 from cmn_classifier.item), 2, %1) returning id")
                          .arg(quoted(caption)))
        .toInt();
}

int Seed::item(const QString& marka, int classifierEntryId)
{
    const QString entry = classifierEntryId ? QString::number(classifierEntryId) : QStringLiteral("null");
    return db_.scalar(QStringLiteral("insert into cmn_gds_and_srv.gds_and_srv (s_caption, s_description, id_msm_bs, massa, "
                                     "id_class_item) values (%1, '', 6, 1.5, %2) returning id")
                          .arg(quoted(marka), entry))
        .toInt();
}

int Seed::operationKind(const QString& vid, int id)
{
    if (id)
        return db_.scalar(QStringLiteral("insert into accounts_dep.vid_oper (id, vid) values (%1, %2) returning id")
                              .arg(id)
                              .arg(quoted(vid)))
            .toInt();
    return db_.scalar(QStringLiteral("insert into accounts_dep.vid_oper (vid) values (%1) returning id").arg(quoted(vid)))
        .toInt();
}

int Seed::operation(int itemId, int kindId, int naimen, double price)
{
    const int id = db_.scalar(QStringLiteral("insert into accounts_dep.oper (vid, naimen, i_id, cena_new) values (%1, %2, %3, 0) returning id")
                                  .arg(kindId)
                                  .arg(naimen)
                                  .arg(itemId))
                       .toInt();
    if (price >= 0)
        norm(id, 100, price);
    return id;
}

void Seed::norm(int operationId, int norma, double price, int prize)
{
    db_.exec(QStringLiteral("insert into accounts_dep.norm (o_id, norma, price, prize) values (%1, %2, %3, %4)")
                 .arg(operationId)
                 .arg(norma)
                 .arg(sql_text::decimal(price, 4))
                 .arg(prize));
}

// The journal's unique index admits one record per worker, item, operation, date, shift
// and colour; a further record of the same five gets the next free colour.
int Seed::freeColour(const Record& r)
{
    const QString sameFive = QStringLiteral(" from accounts_dep.smena where w_id=%1 and i_id=%2 and o_id=%3 and data=%4 and smena=%5")
                                 .arg(r.worker)
                                 .arg(r.item)
                                 .arg(r.operation)
                                 .arg(sql_text::toDate(r.date))
                                 .arg(r.shift);
    if (db_.count(QStringLiteral("select count(*)") + sameFive + QStringLiteral(" and color=%1").arg(r.color)) == 0)
        return r.color;
    return db_.count(QStringLiteral("select max(color) + 1") + sameFive);
}

int Seed::record(const Record& r)
{
    const QString ok = r.ok == QStringLiteral("<null>") ? QStringLiteral("null") : quoted(r.ok);
    return db_.scalar(QStringLiteral("insert into accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "
                                     "time, ok, vvod, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) "
                                     "values (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, now(), 0, 0, 0, 0, 0, 0) returning id")
                          .arg(r.worker)
                          .arg(r.item)
                          .arg(r.operation)
                          .arg(QString::number(r.price, 'g', 17))
                          .arg(r.quantity)
                          .arg(r.rejects)
                          .arg(sql_text::toDate(r.date))
                          .arg(r.shift)
                          .arg(freeColour(r))
                          .arg(r.hours)
                          .arg(ok))
        .toInt();
}

Seed::Journal Seed::smallJournal(const QString& fio)
{
    Journal j{};
    j.worker = worker(fio);
    j.item = item(QStringLiteral("Стол СТ-1"), classifierEntry(QStringLiteral("Столы")));
    j.kind = operationKind(QStringLiteral("Сборка"));
    j.operation = operation(j.item, j.kind);
    return j;
}

Seed::Record Seed::recordOf(const Journal& j, const QDate& date, int shift, int worker)
{
    Record r;
    r.worker = worker ? worker : j.worker;
    r.item = j.item;
    r.operation = j.operation;
    r.date = date;
    r.shift = shift;
    return r;
}
