#include "timesheet_hours.h"

#include "data_module.h"
#include "locks.h"
#include "sql_text.h"
#include "write_statements.h"

#include <algorithm>
#include <tuple>

namespace timesheet_hours {

namespace {

QVariantMap keyParams(const HoursKey& key)
{
    return {{QStringLiteral("w_id"), key.workerId},
            {QStringLiteral("smena"), key.shift},
            {QStringLiteral("month"), key.month},
            {QStringLiteral("year"), key.year}};
}

void bindKey(Command& statement, const HoursKey& key) { statement.setParams(keyParams(key)); }

// Writes the hours (none: the cell is emptied) into the day's cell of the key's row.
void updateCell(TDataModule6& module, const HoursKey& key, int day, const QVariant& hours)
{
    Command& update = module.H_Tabel_ins;
    update.setSql(h_tabel_sql::setDay(day));
    bindKey(update, key);
    update.setParam(QStringLiteral("hours"), hours);
    update.execute();
}

}  // namespace

HoursKey keyOf(int workerId, int shift, const QDate& date) { return {workerId, shift, date.month(), date.year()}; }

int DayHours(TDataModule6& module, int workerId, int shift, const QDate& date)
{
    return module
        .scalar(QStringLiteral("select sum(time) as tim from accounts_dep.smena where w_id=:w_id and smena=:smena "
                               "and data=to_date(:data, 'DD.MM.YYYY') group by w_id, smena, data"),
                {{QStringLiteral("w_id"), workerId},
                 {QStringLiteral("smena"), shift},
                 {QStringLiteral("data"), sql_text::dateText(date)}})
        .toInt();
}

bool HoursRowExists(TDataModule6& module, const HoursKey& key)
{
    return module.CountsAny(QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel") + h_tabel_sql::keyCondition(),
                            keyParams(key));
}

namespace {

QString monthLockName(int month, int year) { return QStringLiteral("h_tabel month %1-%2").arg(year).arg(month); }

void lockMonthShared(TDataModule6& module, const HoursKey& key)
{
    locks::shared(module.ADO_DB, monthLockName(key.month, key.year));
}

void lockRowAlone(TDataModule6& module, const HoursKey& key)
{
    locks::exclusive(module.ADO_DB, QStringLiteral("h_tabel row %1 %2 %3-%4").arg(key.workerId).arg(key.shift).arg(key.year).arg(key.month));
}

}  // namespace

void LockHoursRow(TDataModule6& module, const HoursKey& key)
{
    lockMonthShared(module, key);
    lockRowAlone(module, key);
}

void LockHoursRows(TDataModule6& module, std::vector<HoursKey> keys)
{
    const auto order = [](const HoursKey& k) { return std::tuple(k.year, k.month, k.workerId, k.shift); };
    std::sort(keys.begin(), keys.end(), [&](const HoursKey& a, const HoursKey& b) { return order(a) < order(b); });
    // Every month before any row, so that a rebuild waiting for one month and two
    // upkeeps waiting for rows never wait for each other in a circle.
    for (const HoursKey& key : keys)
        lockMonthShared(module, key);
    for (const HoursKey& key : keys)
        lockRowAlone(module, key);
}

void LockHoursMonth(TDataModule6& module, int month, int year)
{
    locks::exclusive(module.ADO_DB, monthLockName(month, year));
}

void WriteHoursCell(TDataModule6& module, const HoursKey& key, int day, int hours)
{
    module.ADO_DB.inTransaction([&] {
        LockHoursRow(module, key);
        if (HoursRowExists(module, key)) {
            updateCell(module, key, day, hours);
            return;
        }
        Command& insert = module.H_Tabel_ins;
        insert.setSql(h_tabel_sql::insertDay(day));
        bindKey(insert, key);
        insert.setParam(QStringLiteral("hours"), hours);
        insert.execute();
    });
}

void ClearHoursCell(TDataModule6& module, const HoursKey& key, int day)
{
    // No value rather than 0: the monthly grid then shows the day as blank.
    updateCell(module, key, day, QVariant());
}

void HoursAfterWrite(TDataModule6& module, int workerId, int shift, const QDate& date)
{
    const HoursKey key = keyOf(workerId, shift, date);
    module.ADO_DB.inTransaction([&] {
        // Locked before summing, so the sum sees every record committed before this one.
        LockHoursRow(module, key);
        WriteHoursCell(module, key, date.day(), DayHours(module, workerId, shift, date));
    });
}

void HoursAfterDelete(TDataModule6& module, int workerId, int shift, const QDate& date)
{
    const HoursKey key = keyOf(workerId, shift, date);
    module.ADO_DB.inTransaction([&] {
        LockHoursRow(module, key);
        const int hours = DayHours(module, workerId, shift, date);
        if (hours != 0)
            updateCell(module, key, date.day(), hours);
        else
            ClearHoursCell(module, key, date.day());
    });
}

}  // namespace timesheet_hours
