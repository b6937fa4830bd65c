#include "connection_string.h"

#include <gtest/gtest.h>

namespace {

const QString kOptions = QStringLiteral(
    ";PORT=5432;UID=sys;PWD=wemplax;SSLmode=allow;"
    "ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;ShowSystemTables=0;Fetch=100;"
    "UnknownSizes=0;MaxVarcharSize=255;MaxLongVarcharSize=8190;"
    "Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;UnknownsAsLongVarchar=0;BoolsAsChar=1;Parse=0;"
    "ExtraSysTablePrefixes=;LFConversion=1;UpdatableCursors=1;"
    "TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;LowerCaseIdentifier=0;D6=-101;"
    "OptionalErrors=0;XaOpt=1");

TEST(ConnectionString, ComesFromTheCommandLineOnlyWithBothArguments)
{
    const QString builtIn = QStringLiteral("DRIVER={PostgreSQL UNICODE};DATABASE=vorn_erp;SERVER=")
        + connection_string::builtInServer() + kOptions;
    EXPECT_EQ(connection_string::fromArguments({QStringLiteral("tabel")}), builtIn);
    // The database name given alone is ignored.
    EXPECT_EQ(connection_string::fromArguments({QStringLiteral("tabel"), QStringLiteral("other")}), builtIn);
    EXPECT_EQ(connection_string::fromArguments({QStringLiteral("tabel"), QStringLiteral("plant"), QStringLiteral("10.0.0.5")}),
              QStringLiteral("DRIVER={PostgreSQL UNICODE};DATABASE=plant;SERVER=10.0.0.5") + kOptions);
}

TEST(ConnectionString, BuiltInServerDefaultsToLocalhost)
{
    EXPECT_EQ(connection_string::builtInServer(), QStringLiteral("localhost"));
}

TEST(ConnectionString, TranslatesToLibpqKeepingOnlyWhatLibpqKnows)
{
    const auto pairs = connection_string::toLibpqParameters(connection_string::compose("plant", "/run/pg"));
    const std::vector<std::pair<QString, QString>> expected = {
        {"dbname", "plant"}, {"host", "/run/pg"}, {"port", "5432"},
        {"user", "sys"},     {"password", "wemplax"}, {"sslmode", "allow"}};
    EXPECT_EQ(pairs, expected);
}

}  // namespace
