#include "household_entries.h"

#include "command.h"
#include "data_module.h"
#include "database_error.h"
#include "input_rules.h"
#include "locks.h"
#include "record_save.h"
#include "sql_text.h"
#include "write_statements.h"

namespace household_entries {

namespace {

void lockDayOf(Connection& connection, const EntryWrite& w)
{
    locks::exclusive(connection, QStringLiteral("fatigue day %1 %2").arg(w.workerId).arg(w.date.toString(Qt::ISODate)));
}

// Which of the entry's references another workstation has deleted; Saved when none.
Outcome missingReference(Connection& connection, const EntryWrite& w)
{
    if (!locks::keyShare(connection, QStringLiteral("accounts_dep.person"), w.workerId))
        return Outcome::WorkerGone;
    if (!locks::keyShare(connection, QStringLiteral("cmn_classifier.item"), w.nomenclatureId))
        return Outcome::NomenclatureGone;
    return Outcome::Saved;
}

int dayHours(Connection& connection, const EntryWrite& w)
{
    Dataset sum(connection, QStringLiteral("select coalesce(sum(cnt), 0) as tim from accounts_dep.fatigue "
                                           "where id_p=:worker and d_date=:d_date"));
    sum.setParam(QStringLiteral("worker"), w.workerId);
    sum.setParam(QStringLiteral("d_date"), w.date);
    sum.open();
    return sum.fieldByName(QStringLiteral("tim")).asInteger();
}

// Summed under the lock of the worker's day, with the entry just written, so that two
// workstations cannot together pass the day's limit.
void refuseDayOverHours(Connection& connection, const EntryWrite& w)
{
    const int hours = dayHours(connection, w);
    if (hours > kMaxDayHours)
        throw InputRefused(QStringLiteral("Кол-во: у работника за %1 выходит %2 ч., а больше %3 быть не может")
                               .arg(sql_text::dateText(w.date))
                               .arg(hours)
                               .arg(kMaxDayHours));
}

Outcome checkAndWrite(Connection& connection, Command& statement, const EntryWrite& w)
{
    lockDayOf(connection, w);
    if (const Outcome missing = missingReference(connection, w); missing != Outcome::Saved)
        return missing;
    if (statement.execute() == 0)
        return Outcome::Changed;
    refuseDayOverHours(connection, w);
    return Outcome::Saved;
}

}  // namespace

Outcome save(TDataModule6& module, Command& statement, const EntryWrite& write)
{
    Outcome outcome = Outcome::Saved;
    module.ADO_DB.inTransaction([&] { outcome = checkAndWrite(module.ADO_DB, statement, write); });
    return outcome;
}

bool remove(TDataModule6& module, qint64 id, const QString& version)
{
    Command& statement = module.SQL_exec;
    statement.setSql(fatigue_sql::remove());
    statement.setParam(QStringLiteral("id"), id);
    statement.setParam(QStringLiteral("version"), version);
    return statement.execute() > 0;
}

QString refusalMessage(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Saved:
        return {};
    case Outcome::WorkerGone:
        return record_save::refusalMessage(record_save::Outcome::WorkerGone);
    case Outcome::NomenclatureGone:
        return QStringLiteral("Номенклатура удалена другим пользователем");
    case Outcome::Changed:
        return StaleRecordError().text();
    }
    return {};
}

}  // namespace household_entries
