#include "connection_settings.h"

#include "connection_string.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <libpq-fe.h>

#ifndef TABEL_PG_SYSCONFDIR
#define TABEL_PG_SYSCONFDIR "/etc/postgresql-common"
#endif

namespace connection_settings {

namespace {

const QString kUser = QStringLiteral("user");
const QString kPassword = QStringLiteral("password");

QString environmentPath(const char* variable, const QString& otherwise)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? otherwise : value;
}

// The keywords of one section of a service file, in libpq's format ("[name]", then
// keyword=value lines; "#" starts a comment).
std::optional<QSet<QString>> sectionKeywords(const QString& path, const QString& service)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    std::optional<QSet<QString>> keywords;
    bool inSection = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (inSection)
                break;
            inSection = line == QLatin1Char('[') + service + QLatin1Char(']');
            if (inSection)
                keywords.emplace();
        } else if (inSection && line.contains(QLatin1Char('='))) {
            keywords->insert(line.section(QLatin1Char('='), 0, 0).trimmed());
        }
    }
    return keywords;
}

bool passwordFileExists()
{
    return QFile::exists(environmentPath("PGPASSFILE", QDir::homePath() + QStringLiteral("/.pgpass")));
}

// The service whose settings libpq applies: PGSERVICE, else "tabel" when a service file
// defines it (then named in the parameters); nullopt when there is none.
std::optional<QSet<QString>> serviceInEffect(Parameters& parameters)
{
    const QString named = qEnvironmentVariable("PGSERVICE");
    if (!named.isEmpty())
        return serviceKeywords(named);
    std::optional<QSet<QString>> tabel = serviceKeywords(kServiceName);
    if (tabel)
        parameters.emplace_back(QStringLiteral("service"), kServiceName);
    return tabel;
}

}  // namespace

std::optional<QSet<QString>> serviceKeywords(const QString& service)
{
    const QString userFile = environmentPath("PGSERVICEFILE", QDir::homePath() + QStringLiteral("/.pg_service.conf"));
    if (std::optional<QSet<QString>> keywords = sectionKeywords(userFile, service))
        return keywords;
    const QString systemFolder = environmentPath("PGSYSCONFDIR", QStringLiteral(TABEL_PG_SYSCONFDIR));
    return sectionKeywords(systemFolder + QStringLiteral("/pg_service.conf"), service);
}

QSet<QString> environmentKeywords()
{
    QSet<QString> keywords;
    PQconninfoOption* options = PQconndefaults();
    for (PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (option->envvar && qEnvironmentVariableIsSet(option->envvar))
            keywords.insert(QString::fromLatin1(option->keyword));
    }
    PQconninfoFree(options);
    return keywords;
}

Parameters startupParameters(const QStringList& arguments)
{
    Parameters parameters;
    QSet<QString> given = environmentKeywords();
    if (const std::optional<QSet<QString>> service = serviceInEffect(parameters))
        given.unite(*service);
    const bool builtInUser = !given.contains(kUser);
    const bool passwordGiven = given.contains(kPassword) || passwordFileExists();
    // The command line's database and server stand whatever the settings say.
    const bool commandLine = !arguments.value(2).isEmpty();
    for (auto [keyword, value] : connection_string::toLibpqParameters(connection_string::fromArguments(arguments))) {
        const bool fromCommandLine = commandLine && (keyword == QStringLiteral("dbname") || keyword == QStringLiteral("host"));
        if (!fromCommandLine && given.contains(keyword))
            continue;
        if (keyword == kPassword && (!builtInUser || passwordGiven))
            continue;
        if (keyword == QStringLiteral("sslmode") && value == QStringLiteral("allow"))
            value = QStringLiteral("prefer");
        parameters.emplace_back(keyword, value);
    }
    return parameters;
}

bool usesBuiltInUser(const Parameters& parameters)
{
    return std::any_of(parameters.begin(), parameters.end(), [](const auto& pair) { return pair.first == kUser; });
}

Parameters asPerson(Parameters parameters, const QString& user, const QString& password)
{
    std::erase_if(parameters, [](const auto& pair) { return pair.first == kUser || pair.first == kPassword; });
    parameters.emplace_back(kUser, user);
    if (!password.isEmpty())
        parameters.emplace_back(kPassword, password);
    return parameters;
}

}  // namespace connection_settings
