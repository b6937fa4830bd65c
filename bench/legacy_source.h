#pragma once

#include <QString>
#include <QTemporaryDir>

struct sqlite3;

// The earlier database for one test: a SQLite file with the seven legacy tables (names
// in capitals, as the earlier database spells them), registered as the ODBC data source
// "Tabel" with Debian's SQLite driver through a private odbc.ini (ODBCINI, ODBCSYSINI).
class LegacySource {
public:
    // registered false: the driver is known but no data source "Tabel" exists.
    explicit LegacySource(bool registered = true);
    ~LegacySource();
    LegacySource(const LegacySource&) = delete;
    LegacySource& operator=(const LegacySource&) = delete;

    void exec(const QString& sql);
    const QString& path() const { return path_; }

    // Makes "Tabel" another driver's data source: the driver's name and library and the
    // data source's settings, "Servername=…\nDatabase=…" (the SQLite file stays unused).
    void registerOtherSource(const QString& driver, const QString& driverLibrary, const QString& settings);

private:
    void registerDataSource(bool registered);
    void writeRegistration(const QString& driver, const QString& driverLibrary, const QString& dataSource);
    void createTables();

    QTemporaryDir folder_;
    QString path_;
    sqlite3* db_ = nullptr;
};
