#pragma once

#include <QString>
#include <optional>

// The four roles the fixed access codes select.
enum class Role { Reporting, Foreman, Warehouse, FullAccess };

// The foreman's code, which may add records but never switch acceptance marks.
inline const QString kForemanCode = QStringLiteral("brigvex");

// The role of an access code (exact and case-sensitive); nullopt for a wrong code.
std::optional<Role> roleForCode(const QString& code);

// The role's name in Latin letters, as the connection's name carries it.
QString roleName(Role role);

// Sets the acceptance filter of the journal's shift queries and disables what the
// role may not use. Nothing is ever enabled again.
void applyRole(Role role);
