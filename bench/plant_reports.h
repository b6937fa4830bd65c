#pragma once

#include <QDate>

class Connection;

// The journal the period reports are timed on: a month of `records` records of `workers`
// workers on `items` items (ten operation kinds each, both product kinds, colours 0, 1
// and RAL numbers), and a month of production with `productionRows` distinct rows of the
// production spreadsheet (item, operation kind, product kind, colour). A month holds at
// most 15 records a worker a day (420 a worker), as the journal's unique index allows.
struct PlantReports {
    QDate reportMonth{2026, 3, 1};
    int records = 120000;
    int workers = 300;
    int items = 40;
    QDate productionMonth{2026, 4, 1};
    int productionRows = 10000;
    // A year of such months; the operations each worker works on change every quarter.
    QDate reportYear{2025, 1, 1};
};

// Writes the reference data, both months and the year; returns the journal records of the
// report month.
int seedPlantReports(Connection& connection, const PlantReports& plant);
