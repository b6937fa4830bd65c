#include "record_save.h"

#include "data_module.h"
#include "database_error.h"
#include "locks.h"
#include "timesheet_hours.h"

#include <optional>

namespace record_save {

namespace {

QString valuesLockName(const JournalWrite& w)
{
    return QStringLiteral("smena record %1 %2 %3 %4 %5 %6")
        .arg(w.workerId)
        .arg(w.itemId)
        .arg(w.operationId)
        .arg(w.date.toString(Qt::ISODate))
        .arg(w.shift)
        .arg(w.colour);
}

// Which of the record's references another workstation has deleted; Saved when none.
Outcome missingReference(Connection& connection, const JournalWrite& w)
{
    if (!locks::keyShare(connection, QStringLiteral("accounts_dep.person"), w.workerId))
        return Outcome::WorkerGone;
    // Items are deleted from the catalogue row the item list is read from.
    if (!locks::keyShare(connection, QStringLiteral("cmn_gds_and_srv.gds_and_srv"), w.itemId))
        return Outcome::ItemGone;
    if (!locks::keyShare(connection, QStringLiteral("accounts_dep.oper"), w.operationId))
        return Outcome::OperationGone;
    return Outcome::Saved;
}

void bringHoursInLine(TDataModule6& module, const JournalWrite& w)
{
    using namespace timesheet_hours;
    const bool moved = w.changing && (w.formerWorkerId != w.workerId || w.formerDate != w.date);
    std::vector<HoursKey> cells{keyOf(w.workerId, w.shift, w.date)};
    if (moved)
        cells.push_back(keyOf(w.formerWorkerId, w.shift, w.formerDate));
    LockHoursRows(module, cells);
    if (w.checkUnderHoursLock)
        w.checkUnderHoursLock();
    HoursAfterWrite(module, w.workerId, w.shift, w.date);
    // The cell the record left keeps no hours of it.
    if (moved)
        HoursAfterDelete(module, w.formerWorkerId, w.shift, w.formerDate);
}

Outcome checkAndWrite(TDataModule6& module, Command& statement, const JournalWrite& w)
{
    Connection& connection = module.ADO_DB;
    locks::exclusive(connection, valuesLockName(w));
    if (const Outcome missing = missingReference(connection, w); missing != Outcome::Saved)
        return missing;
    if (module.CountsAny(w.duplicateQuery))
        return Outcome::Duplicate;
    if (statement.execute() == 0)
        return Outcome::Changed;
    // No open result of the timesheet outlives the change.
    for (int s = 1; s <= 3; ++s)
        module.timesheetQuery(s).close();
    bringHoursInLine(module, w);
    return Outcome::Saved;
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

// The record is locked before its cell, in the order of a save (which writes the record
// and then locks the cells), so a deletion and a save never wait for each other in a circle.
Outcome deleteAndBringHoursInLine(TDataModule6& module, Command& deletion, qint64 id, const QString& version)
{
    const std::optional<RecordPlace> place = lockRecordAsRead(module, id, version);
    if (!place)
        return Outcome::Changed;
    timesheet_hours::LockHoursRow(module, timesheet_hours::keyOf(place->workerId, place->shift, place->date));
    deletion.execute();
    timesheet_hours::HoursAfterDelete(module, place->workerId, place->shift, place->date);
    return Outcome::Saved;
}

}  // namespace

Outcome remove(TDataModule6& module, Command& deletion, qint64 id, const QString& version)
{
    Outcome outcome = Outcome::Saved;
    module.ADO_DB.inTransaction([&] { outcome = deleteAndBringHoursInLine(module, deletion, id, version); });
    return outcome;
}

Outcome save(TDataModule6& module, Command& statement, const JournalWrite& write)
{
    Outcome outcome = Outcome::Saved;
    try {
        module.ADO_DB.inTransaction([&] { outcome = checkAndWrite(module, statement, write); });
    } catch (const DatabaseError& error) {
        if (error.isUniqueViolation(kUniqueRecordIndex))
            return Outcome::Duplicate;
        throw;
    }
    return outcome;
}

QString refusalMessage(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Saved:
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
