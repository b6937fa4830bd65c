#include "connection_string.h"

#include <QHash>

#ifndef TABEL_BUILTIN_SERVER
#define TABEL_BUILTIN_SERVER "localhost"
#endif

namespace connection_string {

QString builtInServer() { return QStringLiteral(TABEL_BUILTIN_SERVER); }

QString compose(const QString& database, const QString& server)
{
    return QStringLiteral("DRIVER={PostgreSQL UNICODE};DATABASE=") + database
        + QStringLiteral(";SERVER=") + server
        + QStringLiteral(";PORT=5432;UID=sys;PWD=wemplax;SSLmode=allow;")
        + QStringLiteral("ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;"
                         "ShowSystemTables=0;Fetch=100;UnknownSizes=0;MaxVarcharSize=255;"
                         "MaxLongVarcharSize=8190;")
        + QStringLiteral("Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;"
                         "UnknownsAsLongVarchar=0;BoolsAsChar=1;Parse=0;ExtraSysTablePrefixes=;"
                         "LFConversion=1;UpdatableCursors=1;")
        + QStringLiteral("TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;"
                         "LowerCaseIdentifier=0;D6=-101;OptionalErrors=0;XaOpt=1");
}

QString fromArguments(const QStringList& arguments)
{
    // arguments[0] is the program itself; the database name alone is not enough.
    const QString database = arguments.value(1);
    const QString server = arguments.value(2);
    if (server.isEmpty())
        return compose(QStringLiteral("vorn_erp"), builtInServer());
    return compose(database, server);
}

std::vector<std::pair<QString, QString>> toLibpqParameters(const QString& odbc)
{
    static const QHash<QString, QString> keywords = {
        {QStringLiteral("database"), QStringLiteral("dbname")},
        {QStringLiteral("server"), QStringLiteral("host")},
        {QStringLiteral("port"), QStringLiteral("port")},
        {QStringLiteral("uid"), QStringLiteral("user")},
        {QStringLiteral("pwd"), QStringLiteral("password")},
        {QStringLiteral("sslmode"), QStringLiteral("sslmode")},
    };
    std::vector<std::pair<QString, QString>> result;
    for (const QString& piece : odbc.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = piece.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const auto keyword = keywords.constFind(piece.left(eq).trimmed().toLower());
        if (keyword != keywords.constEnd())
            result.emplace_back(*keyword, piece.mid(eq + 1));
    }
    return result;
}

}  // namespace connection_string
