#pragma once

// Creates DataModule6, connects it to the benchmark's database and finds out what the
// database offers, as the program does at start. The database is named by
// TABEL_BENCH_PGHOST (the server or its socket folder) and TABEL_BENCH_DATABASE; without
// them the program ends with a hint at scripts/run-bench.sh.
void openBenchDatabase();
