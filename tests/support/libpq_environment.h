#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <optional>
#include <stdexcept>

// libpq's settings of the environment for one test, put back as they were at its end:
// the PG* variables the test names, a service file and a password file of its own in a
// temporary folder (neither exists until written), and no system service file.
class LibpqEnvironment {
public:
    LibpqEnvironment()
    {
        for (const char* name : {"PGHOST", "PGPORT", "PGDATABASE", "PGUSER", "PGPASSWORD", "PGSERVICE", "PGSSLMODE"})
            unset(name);
        set("PGSERVICEFILE", path("pg_service.conf"));
        set("PGSYSCONFDIR", folder_.path().toUtf8());
        set("PGPASSFILE", path("pgpass"));
    }
    ~LibpqEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }
    LibpqEnvironment(const LibpqEnvironment&) = delete;
    LibpqEnvironment& operator=(const LibpqEnvironment&) = delete;

    void set(const char* name, const QByteArray& value)
    {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name)
    {
        remember(name);
        qunsetenv(name);
    }
    void writeServiceFile(const QByteArray& text) { write("pg_service.conf", text); }
    void writePasswordFile(const QByteArray& text) { write("pgpass", text); }

private:
    QByteArray path(const char* file) const { return (folder_.path() + QLatin1Char('/') + QLatin1String(file)).toUtf8(); }
    void write(const char* file, const QByteArray& text)
    {
        QFile out(QString::fromUtf8(path(file)));
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
            throw std::runtime_error("cannot write the test's libpq file");
        out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);  // libpq ignores a password file others can read
    }
    void remember(const char* name)
    {
        if (!saved_.count(name))
            saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    }

    QTemporaryDir folder_;
    std::map<QByteArray, std::optional<QByteArray>> saved_;
};
