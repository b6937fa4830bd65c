#include "timesheet_hours.h"

#include "data_module.h"
#include "locks.h"
#include "sql_text.h"

#include <algorithm>
#include <tuple>

namespace timesheet_hours {

namespace {

QString n(int value) { return QString::number(value); }

QString keyCondition(const HoursKey& key)
{
    return QStringLiteral(" where w_id=") + n(key.workerId) + QStringLiteral(" and smena=") + n(key.shift)
        + QStringLiteral(" and month=") + n(key.month) + QStringLiteral(" and year=") + n(key.year);
}

int readInteger(TDataModule6& module, const QString& sql, const QString& column)
{
    Dataset& control = module.Control;
    control.clearSql();
    control.addSqlLine(sql);
    control.open();
    const int value = control.isEmpty() ? 0 : control.fieldByName(column).asInteger();
    control.close();
    return value;
}

void executeWrite(TDataModule6& module, const QString& sql)
{
    module.H_Tabel_ins.setSql(sql);
    module.H_Tabel_ins.execute();
}

void updateCell(TDataModule6& module, const HoursKey& key, int day, const QString& value)
{
    executeWrite(module, QStringLiteral("update accounts_dep.h_tabel set d") + n(day) + QLatin1Char('=') + value
                             + keyCondition(key));
}

}  // namespace

HoursKey keyOf(int workerId, int shift, const QDate& date) { return {workerId, shift, date.month(), date.year()}; }

int DayHours(TDataModule6& module, int workerId, int shift, const QDate& date)
{
    return readInteger(module,
                       QStringLiteral("select sum(time) as tim from accounts_dep.smena where w_id=") + n(workerId)
                           + QStringLiteral(" and smena=") + n(shift) + QStringLiteral(" and data=to_date('")
                           + sql_text::dateText(date) + QStringLiteral("', 'DD.MM.YYYY') group by w_id, smena, data"),
                       QStringLiteral("tim"));
}

bool HoursRowExists(TDataModule6& module, const HoursKey& key)
{
    return readInteger(module, QStringLiteral("select count(w_id) as cnt from accounts_dep.h_tabel") + keyCondition(key),
                       QStringLiteral("cnt"))
        != 0;
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
            updateCell(module, key, day, n(hours));
            return;
        }
        executeWrite(module, QStringLiteral("insert into accounts_dep.h_tabel(smena, w_id, month, year, d") + n(day)
                                 + QStringLiteral(") values(") + n(key.shift) + QStringLiteral(", ") + n(key.workerId)
                                 + QStringLiteral(", ") + n(key.month) + QStringLiteral(", ") + n(key.year)
                                 + QStringLiteral(", ") + n(hours) + QLatin1Char(')'));
    });
}

void ClearHoursCell(TDataModule6& module, const HoursKey& key, int day)
{
    // No value rather than 0: the monthly grid then shows the day as blank.
    updateCell(module, key, day, QStringLiteral("null"));
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
            updateCell(module, key, date.day(), n(hours));
        else
            ClearHoursCell(module, key, date.day());
    });
}

}  // namespace timesheet_hours
