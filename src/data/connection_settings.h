#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// Where the program finds its server: libpq's own mechanisms first (the service named by
// PGSERVICE, else the service "tabel" of the service file; the PG* variables; the password
// file), the command line's database and server over everything, and the settings built
// into the program only for what nothing else gives. A plant that sets nothing connects
// as it always did.
namespace connection_settings {

using Parameters = std::vector<std::pair<QString, QString>>;

// The service the program looks for in the service file when PGSERVICE names none.
inline const QString kServiceName = QStringLiteral("tabel");

// The keywords a service's section of the service file sets; nullopt when no service
// file defines it. The user's file (PGSERVICEFILE or ~/.pg_service.conf) is read first,
// the system's (PGSYSCONFDIR or libpq's folder) only when the user's does not define it.
std::optional<QSet<QString>> serviceKeywords(const QString& service);

// The libpq keywords the PG* variables of the environment set.
QSet<QString> environmentKeywords();

// The libpq keyword/value pairs start-up connects with, for the command line (program,
// database, server). The built-in SSL mode is raised to "prefer"; the built-in password
// goes only with the built-in user, and only when neither the environment, the service
// nor a password file gives one.
Parameters startupParameters(const QStringList& arguments);

// Whether the parameters connect as the built-in user, the settings naming none.
bool usesBuiltInUser(const Parameters& parameters);

// The parameters with the person's user name and password (none when empty: the password
// file or the server's trust of the operating-system login stands in) instead of the
// settings' own user.
Parameters asPerson(Parameters parameters, const QString& user, const QString& password);

}  // namespace connection_settings
