#include "person_roles.h"

#include <QFile>
#include <stdexcept>

PersonRoles::PersonRoles(TestDatabase& db) : db_(db)
{
    runScript();
    for (const QString& group : groups()) {
        db_.exec(QStringLiteral("create role %1 login password '%2'").arg(user(group), password(group)));
        db_.exec(QStringLiteral("grant tabel_%1 to %2").arg(group, user(group)));
    }
}

PersonRoles::~PersonRoles()
{
    for (const QString& group : groups())
        db_.exec(QStringLiteral("drop role if exists %1").arg(user(group)));
}

const QStringList& PersonRoles::groups()
{
    static const QStringList names = {QStringLiteral("reports"), QStringLiteral("foreman"), QStringLiteral("warehouse"),
                                      QStringLiteral("full")};
    return names;
}

QString PersonRoles::user(const QString& group) const { return db_.name() + QLatin1Char('_') + group; }

QString PersonRoles::password(const QString& group) { return QStringLiteral("pw-") + group; }

QString PersonRoles::connectionStringOf(const QString& group) const
{
    return db_.odbcConnectionString().replace(QStringLiteral("UID=sys;PWD=wemplax;"),
                                              QStringLiteral("UID=%1;PWD=%2;").arg(user(group), password(group)));
}

void PersonRoles::runScript()
{
    QFile file(QStringLiteral(TABEL_ROLES_SCRIPT));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " TABEL_ROLES_SCRIPT);
    // Several statements in one go, as psql sends a file.
    Connection admin;
    admin.open(db_.odbcConnectionString());
    const PgResultHandle result(PQexec(admin.raw(), file.readAll().constData()));
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
        throw std::runtime_error(std::string("roles.sql failed: ") + PQresultErrorMessage(result.get()));
}
