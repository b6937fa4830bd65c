#include "legacy_source.h"

#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

namespace {

void writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(text.toUtf8());
}

}  // namespace

LegacySource::LegacySource(bool registered)
{
    if (!folder_.isValid())
        throw std::runtime_error("no temporary folder");
    path_ = folder_.filePath(QStringLiteral("legacy.db"));
    if (sqlite3_open(path_.toUtf8().constData(), &db_) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path_.toStdString());
    createTables();
    registerDataSource(registered);
}

LegacySource::~LegacySource() { sqlite3_close(db_); }

void LegacySource::exec(const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("legacy source: " + text + " in " + sql.toStdString());
    }
}

void LegacySource::registerDataSource(bool registered)
{
    // StepAPI: the driver hands rows over as SQLite steps through them instead of reading
    // the whole result first.
    const QString name = registered ? QStringLiteral("Tabel") : QStringLiteral("Other");
    writeRegistration(QStringLiteral("SQLite3"), QStringLiteral(TABEL_SQLITE_ODBC_DRIVER),
                      QStringLiteral("[%1]\nDriver=SQLite3\nDatabase=%2\nStepAPI=1\n").arg(name, path_));
}

void LegacySource::registerOtherSource(const QString& driver, const QString& driverLibrary, const QString& settings)
{
    writeRegistration(driver, driverLibrary, QStringLiteral("[Tabel]\nDriver=%1\n%2\n").arg(driver, settings));
}

// Each driver under a name of its own: unixODBC may keep what it read of these files.
void LegacySource::writeRegistration(const QString& driver, const QString& driverLibrary, const QString& dataSource)
{
    writeFile(folder_.filePath(QStringLiteral("odbcinst.ini")),
              QStringLiteral("[%1]\nDriver=%2\n").arg(driver, driverLibrary));
    writeFile(folder_.filePath(QStringLiteral("odbc.ini")), dataSource);
    qputenv("ODBCSYSINI", folder_.path().toUtf8());
    qputenv("ODBCINI", folder_.filePath(QStringLiteral("odbc.ini")).toUtf8());
}

void LegacySource::createTables()
{
    QString days;
    for (int day = 1; day <= 31; ++day)
        days += QStringLiteral(", D%1 INTEGER").arg(day);
    exec(QStringLiteral("CREATE TABLE H_TABEL (ID INTEGER PRIMARY KEY, W_ID INTEGER, MONTH INTEGER, YEAR INTEGER, SMENA INTEGER%1)")
             .arg(days));
    exec(QStringLiteral("CREATE TABLE IZDEL (ID INTEGER PRIMARY KEY, MARKA VARCHAR(254), NOM VARCHAR(255), MASSA REAL)"));
    exec(QStringLiteral("CREATE TABLE NOMENKL (ID INTEGER PRIMARY KEY, MARKA VARCHAR(128), NOM VARCHAR(512))"));
    exec(QStringLiteral("CREATE TABLE OPER (ID INTEGER PRIMARY KEY, VID INTEGER, NAIMEN INTEGER, CENA REAL, I_ID INTEGER)"));
    exec(QStringLiteral("CREATE TABLE VID_OPER (ID INTEGER PRIMARY KEY, VID VARCHAR(128))"));
    // Spelled in mixed case: fields are found whatever the letter case.
    exec(QStringLiteral("CREATE TABLE WORKERS (Id INTEGER PRIMARY KEY, Fio VARCHAR(128), Addr VARCHAR(128))"));
    exec(QStringLiteral("CREATE TABLE SMENA (ID INTEGER PRIMARY KEY, W_ID INTEGER, I_ID INTEGER, O_ID INTEGER, KOL_VO INTEGER, "
                        "BRAK INTEGER, SMENA INTEGER, CENA REAL, COLOR INTEGER, OK VARCHAR(2), DATA DATE, "
                        "TIME INTEGER, VVOD TIMESTAMP)"));
}
