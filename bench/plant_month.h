#pragma once

#include <QDate>
#include <QString>

class Connection;

// A month of a plant's journal: 300 workers spread over the three shifts, each with three
// records on every working day (Monday to Friday), and every fourth worker with an
// overtime record on those days as well.
struct PlantMonth {
    int month = 3;
    int year = 2026;  // March 2026 has 22 working days
    int workers = 300;
};

// Writes the workers and the month's journal; returns the number of journal records.
int seedPlantMonth(Connection& connection, const PlantMonth& plant);

// The connection string of the benchmark's database, named by TABEL_BENCH_PGHOST (the
// server or its socket folder) and TABEL_BENCH_DATABASE; ends the program without them.
QString benchConnectionString();

// Seeds the month and names it in the benchmark's report.
void seedAndDescribePlantMonth(Connection& connection, const PlantMonth& plant);
