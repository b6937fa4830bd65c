#include "connection_settings.h"
#include "connection_string.h"
#include "libpq_environment.h"

#include <gtest/gtest.h>
#include <functional>

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

// The settings libpq's own mechanisms give come before the built-in ones; the command line
// beats both; with nothing set the built-in settings stand, SSL raised to "prefer".
TEST(ConnectionSettings, TheEnvironmentAndTheServiceFileComeBeforeTheBuiltInSettings)
{
    using connection_settings::Parameters;
    const QString server = connection_string::builtInServer();
    struct Case {
        const char* what;
        std::function<void(LibpqEnvironment&)> setUp;
        QStringList arguments;
        Parameters expected;
    };
    const Case cases[] = {
        {"nothing set", [](LibpqEnvironment&) {}, {"tabel"},
         {{"dbname", "vorn_erp"}, {"host", server}, {"port", "5432"}, {"user", "sys"}, {"password", "wemplax"},
          {"sslmode", "prefer"}}},
        {"PG* variables name the server and a person",
         [](LibpqEnvironment& env) {
             env.set("PGHOST", "db.plant.local");
             env.set("PGUSER", "ivanova");
         },
         {"tabel"}, {{"dbname", "vorn_erp"}, {"port", "5432"}, {"sslmode", "prefer"}}},
        {"the service tabel of the service file",
         [](LibpqEnvironment& env) {
             env.writeServiceFile("# the plant\n[other]\nuser=x\n[tabel]\nhost=db.plant.local\nport = 5433\nsslmode=require\n");
         },
         {"tabel"},
         {{"service", "tabel"}, {"dbname", "vorn_erp"}, {"user", "sys"}, {"password", "wemplax"}}},
        {"PGSERVICE names another service",
         [](LibpqEnvironment& env) {
             env.writeServiceFile("[tabel]\nhost=a\n[plant]\ndbname=erp\nuser=petrov\n");
             env.set("PGSERVICE", "plant");
         },
         {"tabel"}, {{"host", server}, {"port", "5432"}, {"sslmode", "prefer"}}},
        {"a password file gives sys's password",
         [](LibpqEnvironment& env) { env.writePasswordFile("*:*:*:sys:secret\n"); }, {"tabel"},
         {{"dbname", "vorn_erp"}, {"host", server}, {"port", "5432"}, {"user", "sys"}, {"sslmode", "prefer"}}},
        {"the command line beats the variables",
         [](LibpqEnvironment& env) {
             env.set("PGHOST", "db.plant.local");
             env.set("PGDATABASE", "erp");
             env.set("PGPASSWORD", "secret");
         },
         {"tabel", "plant", "10.0.0.5"},
         {{"dbname", "plant"}, {"host", "10.0.0.5"}, {"port", "5432"}, {"user", "sys"}, {"sslmode", "prefer"}}},
    };
    for (const Case& c : cases) {
        LibpqEnvironment env;
        c.setUp(env);
        EXPECT_EQ(connection_settings::startupParameters(c.arguments), c.expected) << c.what;
    }
}

}  // namespace
