#include "change_history.h"

#include "data_module.h"
#include "record_save.h"

namespace change_history {

namespace {

// Field names a person reads, in the order the journal shows them; any other column goes
// under its own name after these.
const char* const kFieldLabels =
    "(values ('w_id', 'Рабочий', 1), ('id_p', 'Рабочий', 1), ('i_id', 'Изделие', 2), ('id_nom', 'Номенклатура', 2),"
    " ('o_id', 'Операция', 3), ('id_o', 'Работа', 3), ('vid', 'Вид операции', 3), ('naimen', 'Вид', 4),"
    " ('data', 'Дата', 5), ('d_date', 'Дата', 5), ('smena', 'Смена', 6), ('i_smena', 'Смена', 6),"
    " ('color', 'Цвет', 7), ('time', 'Часы', 8), ('kol_vo', 'Кол-во', 9), ('cnt', 'Кол-во', 9),"
    " ('brak', 'Брак', 10), ('norma', 'Норма', 10), ('cena', 'Цена', 11), ('price', 'Цена', 11),"
    " ('cena_new', 'Новая цена', 12), ('prize', 'Премия', 13), ('ok', 'OK', 14), ('vvod', 'Заведен', 15))"
    " label(field, title, place)";

// Who, when, what was done and to which record, over a source of history rows named h.
QString whoAndWhen(const QString& recordText)
{
    return QStringLiteral(
               "to_char(h.changed_at, 'DD.MM.YYYY HH24:MI:SS') as kogda,"
               " h.db_user || coalesce(' (' || nullif(h.application_name, '') || ')', '') as kto,"
               " case h.action when 'INSERT' then 'Добавлена' when 'UPDATE' then 'Изменена' else 'Удалена' end as deistvie,"
               " %1 as zapis")
        .arg(recordText);
}

// The fields of h's row that changed (all filled ones of a row added or deleted), as f.field
// with its title label.title and place label.place: a from list with its where clause.
QString changedFields()
{
    return QStringLiteral("jsonb_object_keys(coalesce(h.new_row, h.old_row)) f(field)"
                          " left join %1 on label.field = f.field"
                          " where f.field <> 'id' and (h.old_row->f.field) is distinct from (h.new_row->f.field)"
                          " and coalesce(h.old_row->>f.field, h.new_row->>f.field) is not null")
        .arg(QString::fromUtf8(kFieldLabels));
}

const QString kFieldTitle = QStringLiteral("coalesce(label.title, f.field)");
const QString kFieldOrder = QStringLiteral("coalesce(label.place, 99), f.field");
const QString kBefore = QStringLiteral("coalesce(h.old_row->>f.field, '—')");
const QString kAfter = QStringLiteral("coalesce(h.new_row->>f.field, '—')");

const QString kJournalRecord = QStringLiteral("'Журнал № ' || :id::bigint");
const QString kAnyRecord = QStringLiteral(
    "case h.audited when 'smena' then 'Журнал' when 'norm' then 'Норма' when 'oper' then 'Операция' else 'Хоз. работа' end"
    " || ' № ' || h.record_id");

}  // namespace

QString recordHistorySql()
{
    return QStringLiteral("select %1, (select string_agg(%2 || ': ' || %3 || ' → ' || %4, '; ' order by %5) from %6) as izmeneno"
                          " from accounts_dep.record_history('smena', :id::bigint) h")
        .arg(whoAndWhen(kJournalRecord), kFieldTitle, kBefore, kAfter, kFieldOrder, changedFields());
}

QString periodChangesSql()
{
    return QStringLiteral("select h.nomer, %1, %2 as pole, %3 as bylo, %4 as stalo"
                          " from (select row_number() over (order by changed_at, audited, record_id) as nomer, *"
                          "       from accounts_dep.changes(:data1::date, :data2::date)) h"
                          " cross join lateral %5"
                          " order by h.nomer, %6")
        .arg(whoAndWhen(kAnyRecord), kFieldTitle, kBefore, kAfter, changedFields(), kFieldOrder);
}

std::optional<pay::JournalRecord> deletedRecord(TDataModule6& module, qint64 id, const QDate& entered)
{
    Dataset last(module.ADO_DB,
                 QStringLiteral("select h.action, r.* from (select * from accounts_dep.record_history('smena', :id::bigint)) h"
                                " left join jsonb_populate_record(null::accounts_dep.smena, h.old_row) r on true"));
    last.setParam(QStringLiteral("id"), id);
    last.open();
    if (last.isEmpty())
        return std::nullopt;
    last.setRecNo(last.recordCount());
    if (last.fieldByName(QStringLiteral("action")).asString() != QStringLiteral("DELETE"))
        return std::nullopt;
    pay::JournalRecord r;
    r.workerId = last.fieldByName(QStringLiteral("w_id")).asInteger();
    r.itemId = last.fieldByName(QStringLiteral("i_id")).asLargeInt();
    r.operationId = last.fieldByName(QStringLiteral("o_id")).asInteger();
    r.date = last.fieldByName(QStringLiteral("data")).asDate();
    r.shift = last.fieldByName(QStringLiteral("smena")).asInteger();
    r.colour = last.fieldByName(QStringLiteral("color")).asInteger();
    r.quantity = last.fieldByName(QStringLiteral("kol_vo")).asLargeInt();
    r.rejects = last.fieldByName(QStringLiteral("brak")).asInteger();
    r.hours = last.fieldByName(QStringLiteral("time")).asInteger();
    r.price = last.fieldByName(QStringLiteral("cena")).asFloat();
    r.entered = entered;
    return r;
}

QString restore(TDataModule6& module, const pay::JournalRecord& record)
{
    if (const QString refused = pay::refusal(record); !refused.isEmpty())
        return refused;
    return record_save::save(module, record).refusal;
}

}  // namespace change_history
