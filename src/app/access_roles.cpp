#include "access_roles.h"

#include "connection.h"

#include "data_grid.h"
#include "data_module.h"
#include "journal_window.h"
#include "journal/history_window.h"
#include "month_lock_view.h"
#include "radio_group.h"
#include "reports/report_chooser.h"
#include "date_box.h"
#include "timesheet/timesheet_window.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStringList>
#include <iterator>

std::optional<Role> roleForCode(const QString& code)
{
    if (code == QStringLiteral("fincal"))
        return Role::Reporting;
    if (code == QStringLiteral("brigvex"))
        return Role::Foreman;
    if (code == QStringLiteral("vrelk"))
        return Role::Warehouse;
    if (code == QStringLiteral("61730284") || code == QStringLiteral("8573"))
        return Role::FullAccess;
    return std::nullopt;
}

QString roleName(Role role)
{
    switch (role) {
    case Role::Reporting: return QStringLiteral("reports");
    case Role::Foreman: return QStringLiteral("foreman");
    case Role::Warehouse: return QStringLiteral("warehouse");
    case Role::FullAccess: return QStringLiteral("full");
    }
    return {};
}

namespace {

// Widest first, so that a person in two groups gets the wider role.
constexpr Role kRolesByWidth[] = {Role::FullAccess, Role::Warehouse, Role::Foreman, Role::Reporting};

QString groupRoleName(Role role) { return QStringLiteral("tabel_") + roleName(role); }

QString groupRoleNames()
{
    QStringList names;
    for (Role role : kRolesByWidth)
        names << groupRoleName(role);
    return names.join(QLatin1Char(','));
}

QString firstValue(const PgResultHandle& result)
{
    return PQntuples(result.get()) > 0 ? QString::fromUtf8(PQgetvalue(result.get(), 0, 0)) : QString();
}

}  // namespace

// Roles belong to the whole server; a database has them when the administrator's script
// gave them their privileges there (every group reads the version stamp).
bool hasGroupRoles(Connection& connection)
{
    const PgResultHandle result = connection.query(
        QStringLiteral("select count(*) from pg_roles where rolname = any(string_to_array($1, ',')) "
                       "and has_table_privilege(oid, 'accounts_dep.ver', 'select')"),
        {groupRoleNames().toUtf8()});
    return firstValue(result).toInt() == int(std::size(kRolesByWidth));
}

std::optional<Role> roleOfConnectedUser(Connection& connection)
{
    const PgResultHandle result = connection.query(
        QStringLiteral("select string_agg(rolname, ',') from pg_roles where rolname = any(string_to_array($1, ',')) "
                       "and pg_has_role(current_user, oid, 'member')"),
        {groupRoleNames().toUtf8()});
    const QStringList groups = firstValue(result).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (Role role : kRolesByWidth)
        if (groups.contains(groupRoleName(role)))
            return role;
    return std::nullopt;
}

QString connectedUser(Connection& connection) { return firstValue(connection.query(QStringLiteral("select current_user"))); }

namespace {

void disableJournalWork(TForm1& journal)
{
    // The writing buttons through the closed-month rule, which enables them again only
    // where the role allows.
    for (QWidget* w : std::initializer_list<QWidget*>{journal.Button2, journal.Button3})
        journal.MonthLock->denyToRole(w);
    // The items themselves, not only their menu: a shortcut of an item works whatever
    // state its menu is in.
    journal.N2->menuAction()->setEnabled(false);
    for (QAction* item : journal.N2->actions())
        item->setEnabled(false);
    journal.N11->setEnabled(false);
}

// The foreman and the warehouse get only the detailed product report.
void limitReportsToProductDetail(TForm18& chooser)
{
    for (QWidget* w : std::initializer_list<QWidget*>{chooser.Button1, chooser.Button2, chooser.Button4, chooser.Button6,
                                                      chooser.Button7, chooser.Button8, chooser.Button9,
                                                      chooser.Button10, chooser.Button11})
        w->setEnabled(false);
}

}  // namespace

void applyRole(Role role)
{
    // Every role lists the records whose mark is neither "ta" nor null.
    for (int shift = 1; shift <= 4; ++shift)
        DataModule6->shiftQuery(shift).setParam(QStringLiteral("OK"), QStringLiteral("ta"));

    TForm1& journal = *Form1;
    switch (role) {
    case Role::Reporting:
        disableJournalWork(journal);
        journal.MonthLock->denyToRole(journal.Button1);
        for (QWidget* w : std::initializer_list<QWidget*>{journal.RadioButton1, journal.RadioButton2,
                                                          journal.RadioButton3, journal.RadioButton4, journal.CBox1,
                                                          journal.Button8, journal.DBGrid2, journal.DateT})
            w->setEnabled(false);
        break;
    case Role::Foreman:
        disableJournalWork(journal);
        limitReportsToProductDetail(*Form18);
        break;
    case Role::Warehouse:
        disableJournalWork(journal);
        journal.MonthLock->denyToRole(journal.Button1);
        limitReportsToProductDetail(*Form18);
        Form18->RadioGroup1->setItemIndex(int(ProductKindChoice::FinishedGoods));
        Form18->RadioGroup1->setEnabled(false);
        break;
    case Role::FullAccess:
        journal.ImportShortcut->setEnabled(true);
        Form19->offerMonthClosing();
        Form28->RestoreAllowed = true;
        break;
    }
}
