#pragma once

#include <QDate>

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

// Adds ERP persons who are no workers of the pay office (suppliers, customers, with codes
// of their own) until the ERP's person table holds `wanted`; returns the number it holds.
int growErpPersons(Connection& connection, int wanted);

// Seeds the month and names it in the benchmark's report.
void seedAndDescribePlantMonth(Connection& connection, const PlantMonth& plant);
