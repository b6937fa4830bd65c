#pragma once

// Creates DataModule6 and connects it to the benchmark's database, named by
// TABEL_BENCH_PGHOST (the server or its socket folder) and TABEL_BENCH_DATABASE; without
// them the program ends with a hint at scripts/run-bench.sh.
void openBenchDatabase();
