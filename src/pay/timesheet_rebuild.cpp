#include "timesheet_rebuild.h"

#include "data_module.h"
#include "timesheet_hours.h"
#include "write_statements.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <map>
#include <optional>
#include <utility>

namespace timesheet_rebuild {

namespace {

// Day cells of one row; a day without records stays empty.
using DayCells = std::array<std::optional<qint64>, 31>;
// Keyed by worker and shift.
using MonthRows = std::map<std::pair<int, int>, DayCells>;

void deleteMonth(TDataModule6& module, int month, int year)
{
    module.DelSmena.setSql(h_tabel_sql::removeMonth());
    module.DelSmena.setParam(QStringLiteral("month"), month);
    module.DelSmena.setParam(QStringLiteral("year"), year);
    module.DelSmena.execute();
}

// Adds the hours of one date to the rows. A group without a worker or a shift belongs to
// no timesheet row and is passed over.
void readDay(Dataset& dt, const QDate& date, MonthRows& rows)
{
    dt.setParam(QStringLiteral("data"), date);
    dt.open();
    for (dt.first(); !dt.eof(); dt.next()) {
        if (dt.fieldByName(QStringLiteral("w_id")).isNull() || dt.fieldByName(QStringLiteral("smena")).isNull())
            continue;
        const std::pair key(dt.fieldByName(QStringLiteral("w_id")).asInteger(),
                            dt.fieldByName(QStringLiteral("smena")).asInteger());
        // A day whose records carry no hours sums to nothing and is written as 0.
        rows[key][size_t(date.day() - 1)] = dt.fieldByName(QStringLiteral("tim")).asLargeInt();
    }
    dt.close();
}

QString cellText(const std::optional<qint64>& hours)
{
    return hours ? QString::number(*hours) : QStringLiteral("null");
}

QString insertStatement(const MonthRows& rows, int month, int year)
{
    QStringList values;
    for (const auto& [key, cells] : rows) {
        QStringList row{QString::number(key.second), QString::number(key.first), QString::number(month),
                        QString::number(year)};
        for (const auto& hours : cells)
            row << cellText(hours);
        values << QLatin1Char('(') + row.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return h_tabel_sql::insertRows(values);
}

}  // namespace

QString dayQuery()
{
    return QStringLiteral(" select smena, w_id, sum(time) as tim from accounts_dep.smena where data=:data group by smena,w_id;");
}

void rebuildMonth(TDataModule6& module, Dataset& dt, int month, int year, const std::function<void(int day)>& dayRead)
{
    module.ADO_DB.inTransaction([&] {
        // Before anything is read: a save of the month waits until the rebuilt month is
        // stored, then writes its cell into it; a running save is awaited and then read.
        timesheet_hours::LockHoursMonth(module, month, year);
        deleteMonth(module, month, year);
        MonthRows rows;
        const QDate first(year, month, 1);
        for (int day = 1; day <= first.daysInMonth(); ++day) {
            readDay(dt, first.addDays(day - 1), rows);
            dayRead(day);
        }
        if (rows.empty())
            return;
        module.H_Tabel_ins.setSql(insertStatement(rows, month, year));
        module.H_Tabel_ins.execute();
    });
}

}  // namespace timesheet_rebuild
