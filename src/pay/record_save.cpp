#include "record_save.h"

#include "command.h"
#include "data_module.h"
#include "database_error.h"
#include "locks.h"
#include "shift_price.h"
#include "sql_text.h"
#include "timesheet_hours.h"
#include "write_statements.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

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

// The rows a transaction holds against deletion, each locked once with what it found: the
// records of a batch share their item, operation and mostly their workers.
class HeldRows {
public:
    explicit HeldRows(Connection& connection) : connection_(connection) {}
    bool keyShare(const QString& table, qint64 id)
    {
        const auto [held, fresh] = found_.try_emplace({table, id}, false);
        if (fresh)
            held->second = locks::keyShare(connection_, table, id);
        return held->second;
    }

private:
    Connection& connection_;
    std::map<std::pair<QString, qint64>, bool> found_;
};

// Which of the record's references another workstation has deleted; Saved when none.
Outcome missingReference(HeldRows& rows, const JournalRecord& r)
{
    if (!rows.keyShare(QStringLiteral("accounts_dep.person"), r.workerId))
        return Outcome::WorkerGone;
    // Items are deleted from the catalogue row the item list is read from.
    if (!rows.keyShare(QStringLiteral("cmn_gds_and_srv.gds_and_srv"), r.itemId))
        return Outcome::ItemGone;
    if (!rows.keyShare(QStringLiteral("accounts_dep.oper"), r.operationId))
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
        statement.setSql(smena_sql::insert());
    } else {
        statement.setSql(smena_sql::update());
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

// The checks of a record whose six values are locked: its references still there, no
// other record with its values.
Outcome checkLocked(TDataModule6& module, HeldRows& rows, const JournalRecord& r)
{
    if (const Outcome missing = missingReference(rows, r); missing != Outcome::Saved)
        return missing;
    return isDuplicate(module, r) ? Outcome::Duplicate : Outcome::Saved;
}

// No open result of the timesheet outlives a change of the journal.
void closeTimesheetQueries(TDataModule6& module)
{
    for (int s = 1; s <= 3; ++s)
        module.timesheetQuery(s).close();
}

Outcome checkAndWrite(TDataModule6& module, const JournalRecord& r)
{
    locks::exclusive(module.ADO_DB, valuesLockName(r));
    HeldRows rows(module.ADO_DB);
    if (const Outcome refused = checkLocked(module, rows, r); refused != Outcome::Saved)
        return refused;
    std::optional<RecordPlace> former;
    if (!r.isNew() && !(former = lockRecordAsRead(module, r.id, r.version)))
        return Outcome::Changed;
    if (write(module, r) == 0)
        return Outcome::Changed;
    closeTimesheetQueries(module);
    bringHoursInLine(module, r, former);
    return Outcome::Saved;
}

// The records of a batch that fall on one timesheet cell: one worker, shift and date.
struct BatchCell {
    JournalRecord first;
    std::vector<int> rows;
    int hours = 0;  // of these records together
};

std::vector<BatchCell> cellsOf(const std::vector<JournalRecord>& records)
{
    std::map<std::tuple<int, int, QDate>, BatchCell> cells;
    for (int row = 0; row < int(records.size()); ++row) {
        const JournalRecord& r = records[row];
        BatchCell& cell = cells.try_emplace({r.workerId, r.shift, r.date}, BatchCell{r}).first->second;
        cell.rows.push_back(row);
        cell.hours += r.hours;
    }
    std::vector<BatchCell> list;
    for (auto& [place, cell] : cells)
        list.push_back(std::move(cell));
    return list;
}

void refuse(std::vector<RowRefusal>& refused, int row, Outcome outcome, const QString& text = {})
{
    refused.push_back({row, outcome, text.isEmpty() ? refusalMessage(outcome) : text});
}

// A record repeating an earlier one of the batch is a duplicate as one of the journal is.
void refuseRepeatsWithinBatch(const std::vector<JournalRecord>& records, std::vector<RowRefusal>& refused)
{
    std::set<QString> seen;
    for (int row = 0; row < int(records.size()); ++row)
        if (!seen.insert(valuesLockName(records[row])).second)
            refuse(refused, row, Outcome::Duplicate);
}

// Every record's six values locked, in one order, so that two workstations saving
// overlapping batches never wait for each other in a circle.
void lockAllValues(Connection& connection, const std::vector<JournalRecord>& records)
{
    std::set<QString> names;
    for (const JournalRecord& r : records)
        names.insert(valuesLockName(r));
    for (const QString& name : names)
        locks::exclusive(connection, name);
}

// The day's hours of each cell: the journal's, summed under the cell's lock, and the batch's.
void refuseDaysOverHours(TDataModule6& module, const std::vector<BatchCell>& cells, std::vector<RowRefusal>& refused)
{
    std::vector<timesheet_hours::HoursKey> keys;
    for (const BatchCell& cell : cells)
        keys.push_back(timesheet_hours::keyOf(cell.first.workerId, cell.first.shift, cell.first.date));
    timesheet_hours::LockHoursRows(module, keys);
    for (const BatchCell& cell : cells) {
        const JournalRecord& r = cell.first;
        const int hours = timesheet_hours::DayHours(module, r.workerId, r.shift, r.date) + cell.hours;
        if (const QString over = pay::dayHoursRefusal(r.date, hours); !over.isEmpty())
            for (int row : cell.rows)
                refuse(refused, row, Outcome::DayOverHours, over);
    }
}

std::vector<RowRefusal> checkAndWriteAll(TDataModule6& module, const std::vector<JournalRecord>& records)
{
    std::vector<RowRefusal> refused;
    refuseRepeatsWithinBatch(records, refused);
    lockAllValues(module.ADO_DB, records);
    HeldRows held(module.ADO_DB);
    for (int row = 0; row < int(records.size()); ++row)
        if (const Outcome outcome = checkLocked(module, held, records[row]); outcome != Outcome::Saved)
            refuse(refused, row, outcome);
    const std::vector<BatchCell> cells = cellsOf(records);
    refuseDaysOverHours(module, cells, refused);
    if (!refused.empty()) {
        std::stable_sort(refused.begin(), refused.end(), [](const RowRefusal& a, const RowRefusal& b) { return a.row < b.row; });
        return refused;
    }
    for (const JournalRecord& r : records)
        write(module, r);
    closeTimesheetQueries(module);
    for (const BatchCell& cell : cells)
        timesheet_hours::HoursAfterWrite(module, cell.first.workerId, cell.first.shift, cell.first.date);
    return refused;
}

// The record is locked before its cell, in the order of a save (which writes the record
// and then locks the cells), so a deletion and a save never wait for each other in a circle.
Outcome deleteAndBringHoursInLine(TDataModule6& module, qint64 id, const QString& version)
{
    const std::optional<RecordPlace> place = lockRecordAsRead(module, id, version);
    if (!place)
        return Outcome::Changed;
    timesheet_hours::LockHoursRow(module, timesheet_hours::keyOf(place->workerId, place->shift, place->date));
    Command deletion(module.ADO_DB, smena_sql::remove());
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

std::vector<RowRefusal> saveAll(TDataModule6& module, const std::vector<JournalRecord>& records)
{
    std::vector<RowRefusal> refused;
    try {
        module.ADO_DB.inTransaction([&] { refused = checkAndWriteAll(module, records); });
    } catch (const DatabaseError& error) {
        if (!error.isUniqueViolation(kUniqueRecordIndex))
            throw;
        // Another program wrote one of the records without the lock meanwhile; now
        // committed, the duplicate count finds it and names its row.
        module.ADO_DB.inTransaction([&] { refused = checkAndWriteAll(module, records); });
    }
    return refused;
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
