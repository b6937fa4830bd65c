#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class Connection;

// Closed months, kept by the administrator's script db/admin/month-lock-and-audit.sql when
// it is installed: the database refuses every write of pay data dated in a closed month,
// and the windows show the month as closed before anybody types a record into it.
namespace month_lock {

struct ClosedMonth {
    QString closedBy;  // the database user who closed it
    QDate closedOn;
};

// Whether the script is installed on the connection's database (its table of closed months
// exists). Without it nothing is closed and every write goes as it always did.
bool installed(Connection& connection);

// The month of the year, when it is closed; nothing when it is open. Needs the script.
std::optional<ClosedMonth> find(Connection& connection, int year, int month);
// The closed months, oldest first, named as "ноябрь 2026". Needs the script.
QStringList closedMonths(Connection& connection);

// "Месяц закрыт 05.12.2026 — ivanova": the line a window shows over a closed month.
QString notice(const ClosedMonth& closed);
// "ноябрь 2026"
QString monthName(int year, int month);

// Closing and opening a month; only members of the script's role tabel_month_closer (and
// the owner) may: anyone else is refused with the program's own message.
void close(Connection& connection, int year, int month);
void open(Connection& connection, int year, int month);

}  // namespace month_lock
