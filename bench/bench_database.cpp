#include "bench_database.h"

#include "connection_string.h"
#include "data_module.h"

#include <cstdio>
#include <cstdlib>

void openBenchDatabase()
{
    const QString host = qEnvironmentVariable("TABEL_BENCH_PGHOST");
    const QString database = qEnvironmentVariable("TABEL_BENCH_DATABASE");
    if (host.isEmpty() || database.isEmpty()) {
        std::fprintf(stderr, "TABEL_BENCH_PGHOST and TABEL_BENCH_DATABASE name the database (see scripts/run-bench.sh)\n");
        std::exit(2);
    }
    DataModule6 = new TDataModule6([](const QString&) {});
    DataModule6->ADO_DB.open(connection_string::compose(database, host));
    DataModule6->DetectDatabaseFeatures();
}
