#pragma once

#include <QString>
#include <functional>

class Connection;

// The legacy import: the seven tables of the earlier database, reached through the ODBC
// data source "Tabel", copied into their accounts_dep tables on the server the program
// is connected to, one table after the other.
//
// Each table is replaced in one transaction: its rows with an identifier above 0 are
// deleted, the source rows read in batches and written through one COPY, and the table's identifier
// generator moved past the identifiers copied. A failure stops the import with a
// DatabaseError that names the table, the row and, where known, the field; that table
// and the ones after it keep what they held, the ones before it are imported.
namespace legacy_import {

// The earlier database's data source and its password.
QString sourceConnectionString();

// Called after each batch of rows with the progress text, "H_TABEL: 5 из 120 записей".
// The table's COPY is under way on the connection then: nothing else may use it.
using Progress = std::function<void(const QString& text)>;

QString progressText(const QString& table, qint64 done, qint64 total);

struct Options {
    QString source = sourceConnectionString();
    int batchRows = 5000;
};

void importAll(Connection& target, const Progress& progress, const Options& options = {});

}  // namespace legacy_import
