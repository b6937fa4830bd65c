#include "record_save.h"

#include "command.h"
#include "data_module.h"
#include "database_error.h"
#include "locks.h"
#include "shift_price.h"
#include "sql_text.h"
#include "timesheet_hours.h"

#include <optional>

namespace record_save {

namespace {

using pay::JournalRecord;

QString valuesLockName(const JournalRecord& r)
{
    return QStringLiteral("smena record %1 %2 %3 %4 %5 %6")
        .arg(r.workerId)
        .arg(r.itemId)
        .arg(r.operationId)
        .arg(r.date.toString(Qt::ISODate))
        .arg(r.shift)
        .arg(r.colour);
}

// Which of the record's references another workstation has deleted; Saved when none.
Outcome missingReference(Connection& connection, const JournalRecord& r)
{
    if (!locks::keyShare(connection, QStringLiteral("accounts_dep.person"), r.workerId))
        return Outcome::WorkerGone;
    // Items are deleted from the catalogue row the item list is read from.
    if (!locks::keyShare(connection, QStringLiteral("cmn_gds_and_srv.gds_and_srv"), r.itemId))
        return Outcome::ItemGone;
    if (!locks::keyShare(connection, QStringLiteral("accounts_dep.oper"), r.operationId))
        return Outcome::OperationGone;
    return Outcome::Saved;
}

// The other records with the record's six values.
bool isDuplicate(TDataModule6& module, const JournalRecord& r)
{
    Dataset count(module.ADO_DB,
                  QStringLiteral("select count(id) as cnt from accounts_dep.SMENA where w_id=:w_id and o_id=:o_id and i_id=:i_id "
                                 "and data=to_date(:data, 'DD.MM.YYYY') and smena=:smena")
                      + (r.isNew() ? QString() : QStringLiteral(" and id<>:id")) + QStringLiteral(" and color=:color"));
    count.setParam(QStringLiteral("w_id"), r.workerId);
    count.setParam(QStringLiteral("o_id"), r.operationId);
    count.setParam(QStringLiteral("i_id"), r.itemId);
    count.setParam(QStringLiteral("data"), sql_text::dateText(r.date));
    count.setParam(QStringLiteral("smena"), r.shift);
    if (!r.isNew())
        count.setParam(QStringLiteral("id"), r.id);
    count.setParam(QStringLiteral("color"), r.colour);
    count.open();
    return count.fieldByName(QStringLiteral("cnt")).asInteger() > 0;
}

void bindRecord(Command& statement, const JournalRecord& r)
{
    statement.setParam(QStringLiteral("w_id"), r.workerId);
    statement.setParam(QStringLiteral("i_id"), r.itemId);
    statement.setParam(QStringLiteral("o_id"), r.operationId);
    statement.setParam(QStringLiteral("cena"), pay::priceText(r.price));
    statement.setParam(QStringLiteral("kol_vo"), r.quantity);
    statement.setParam(QStringLiteral("brak"), r.rejects);
    statement.setParam(QStringLiteral("data"), sql_text::dateText(r.date));
    statement.setParam(QStringLiteral("smena"), r.shift);
    statement.setParam(QStringLiteral("color"), r.colour);
    statement.setParam(QStringLiteral("time"), r.hours);
    // The entry date goes in as ISO text, which the server reads the same under any date style.
    statement.setParam(QStringLiteral("vvod"), r.entered.toString(Qt::ISODate));
}

// Rows written: 0 when the changed record is no longer as it was read.
int write(TDataModule6& module, const JournalRecord& r)
{
    Command statement(module.ADO_DB);
    if (r.isNew()) {
        statement.setSql(
            QStringLiteral("insert into accounts_dep.SMENA(w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, time, "
                           "vvod,ok, prize, id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use) values(:w_id, :i_id, "
                           ":o_id, :cena,:kol_vo, :brak, to_date(:data, 'DD.MM.YYYY HH24:MI:SS'), :smena, :color, :time, "
                           ":vvod, 'no', 0, 0, 0, 0, 0, 0)"));
    } else {
        statement.setSql(
            QStringLiteral("update accounts_dep.SMENA set w_id=:w_id, i_id=:i_id, o_id=:o_id, cena=:cena, kol_vo=:kol_vo, "
                           "brak=:brak, data=to_date(:data, 'DD.MM.YYYY'), smena=:smena, color=:color, time=:time, "
                           "vvod=:vvod, prize=0, id_doc=0, id_doc_item=0, f_gds_qty_use=0, id_gds_use=0, id_cons_use=0 "
                           "where id=:id and xmin=:version"));
        statement.setParam(QStringLiteral("id"), r.id);
        statement.setParam(QStringLiteral("version"), r.version);
    }
    bindRecord(statement, r);
    return statement.execute();
}

struct RecordPlace {
    int workerId = 0;
    int shift = 0;
    QDate date;
};

// The record's worker, shift and date as stored, the record held against any change until
// the transaction ends; nothing when it is no longer as it was read.
std::optional<RecordPlace> lockRecordAsRead(TDataModule6& module, qint64 id, const QString& version)
{
    Dataset record(module.ADO_DB, QStringLiteral("select w_id, smena, data from accounts_dep.smena "
                                                 "where id=:id and xmin=:version for update"));
    record.setParam(QStringLiteral("id"), id);
    record.setParam(QStringLiteral("version"), version);
    record.open();
    if (record.isEmpty())
        return std::nullopt;
    return RecordPlace{record.fieldByName(QStringLiteral("w_id")).asInteger(),
                       record.fieldByName(QStringLiteral("smena")).asInteger(),
                       record.fieldByName(QStringLiteral("data")).asDate()};
}

// A day over its hours: thrown inside the transaction so that nothing stays written.
struct DayOverHours {
    QString refusal;
};

void bringHoursInLine(TDataModule6& module, const JournalRecord& r, const std::optional<RecordPlace>& former)
{
    using namespace timesheet_hours;
    const bool moved = former && (former->workerId != r.workerId || former->date != r.date || former->shift != r.shift);
    std::vector<HoursKey> cells{keyOf(r.workerId, r.shift, r.date)};
    if (moved)
        cells.push_back(keyOf(former->workerId, former->shift, former->date));
    LockHoursRows(module, cells);
    // Summed under the lock of the day's cell, with the record just written, so that two
    // workstations cannot together pass the day's limit.
    if (const QString refused = pay::dayHoursRefusal(r.date, DayHours(module, r.workerId, r.shift, r.date)); !refused.isEmpty())
        throw DayOverHours{refused};
    HoursAfterWrite(module, r.workerId, r.shift, r.date);
    // The cell the record left keeps no hours of it.
    if (moved)
        HoursAfterDelete(module, former->workerId, former->shift, former->date);
}

Outcome checkAndWrite(TDataModule6& module, const JournalRecord& r)
{
    Connection& connection = module.ADO_DB;
    locks::exclusive(connection, valuesLockName(r));
    if (const Outcome missing = missingReference(connection, r); missing != Outcome::Saved)
        return missing;
    if (isDuplicate(module, r))
        return Outcome::Duplicate;
    std::optional<RecordPlace> former;
    if (!r.isNew() && !(former = lockRecordAsRead(module, r.id, r.version)))
        return Outcome::Changed;
    if (write(module, r) == 0)
        return Outcome::Changed;
    // No open result of the timesheet outlives the change.
    for (int s = 1; s <= 3; ++s)
        module.timesheetQuery(s).close();
    bringHoursInLine(module, r, former);
    return Outcome::Saved;
}

// The record is locked before its cell, in the order of a save (which writes the record
// and then locks the cells), so a deletion and a save never wait for each other in a circle.
Outcome deleteAndBringHoursInLine(TDataModule6& module, qint64 id, const QString& version)
{
    const std::optional<RecordPlace> place = lockRecordAsRead(module, id, version);
    if (!place)
        return Outcome::Changed;
    timesheet_hours::LockHoursRow(module, timesheet_hours::keyOf(place->workerId, place->shift, place->date));
    Command deletion(module.ADO_DB, QStringLiteral("delete from accounts_dep.smena where id=:id"));
    deletion.setParam(QStringLiteral("id"), id);
    deletion.execute();
    timesheet_hours::HoursAfterDelete(module, place->workerId, place->shift, place->date);
    return Outcome::Saved;
}

}  // namespace

Outcome remove(TDataModule6& module, qint64 id, const QString& version)
{
    Outcome outcome = Outcome::Saved;
    module.ADO_DB.inTransaction([&] { outcome = deleteAndBringHoursInLine(module, id, version); });
    return outcome;
}

Result save(TDataModule6& module, const JournalRecord& record)
{
    Outcome outcome = Outcome::Saved;
    try {
        module.ADO_DB.inTransaction([&] { outcome = checkAndWrite(module, record); });
    } catch (const DayOverHours& over) {
        return {Outcome::DayOverHours, over.refusal};
    } catch (const DatabaseError& error) {
        if (!error.isUniqueViolation(kUniqueRecordIndex))
            throw;
        outcome = Outcome::Duplicate;
    }
    return {outcome, refusalMessage(outcome)};
}

QString refusalMessage(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Saved:
    case Outcome::DayOverHours:  // told with the day's hours by save
        return {};
    case Outcome::Duplicate:
        return QStringLiteral("Позиция с такими параметрами уже заведена!");
    case Outcome::WorkerGone:
        return QStringLiteral("Работник удалён другим пользователем");
    case Outcome::ItemGone:
        return QStringLiteral("Изделие удалено другим пользователем");
    case Outcome::OperationGone:
        return QStringLiteral("Операция удалена другим пользователем");
    case Outcome::Changed:
        return StaleRecordError().text();
    }
    return {};
}

}  // namespace record_save
