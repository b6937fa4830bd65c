#pragma once

// Opens the shared data module on the database the benchmark runs against, named by
// TABEL_BENCH_PGHOST (the server or its socket folder) and TABEL_BENCH_DATABASE; ends the
// program with a hint when either is missing.
void openBenchDatabase();
