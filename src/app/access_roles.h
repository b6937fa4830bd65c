#pragma once

#include <QString>
#include <optional>

// The four roles the fixed access codes select.
enum class Role { Reporting, Foreman, Warehouse, FullAccess };

class Connection;

// The role of an access code (exact and case-sensitive); nullopt for a wrong code.
std::optional<Role> roleForCode(const QString& code);

// The role's name in Latin letters, as the connection's name carries it.
QString roleName(Role role);

// Per-person login: the group roles of the database (db/admin/roles.sql) give each person
// a role through membership. Whether the connected database has all four of them, with
// the privileges the script gives them there.
bool hasGroupRoles(Connection& connection);

// The role of the connected user by membership of the group roles (the widest when
// several); nullopt for a user of none of them.
std::optional<Role> roleOfConnectedUser(Connection& connection);

// The user the connection logged in as.
QString connectedUser(Connection& connection);

// Sets the acceptance filter of the journal's shift queries and disables what the
// role may not use. Nothing is ever enabled again.
void applyRole(Role role);
