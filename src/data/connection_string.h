#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The connection string in the ODBC form the plant's installations have always used,
// and its translation into libpq's keywords.
namespace connection_string {

// Server address of the built-in connection string; set at build time.
QString builtInServer();

// The ODBC-form string for a database on a server.
QString compose(const QString& database, const QString& server);

// The string start-up uses: the command line's database and server when the second
// argument is present, the built-in settings otherwise.
QString fromArguments(const QStringList& arguments);

// libpq keyword/value pairs for an ODBC-form string: database, server, port, user,
// password and SSL mode; the ODBC driver's own options have no libpq meaning and are dropped.
std::vector<std::pair<QString, QString>> toLibpqParameters(const QString& odbc);

}  // namespace connection_string
