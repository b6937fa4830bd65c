#pragma once

#include "database_error.h"

#include <QString>
#include <functional>
#include <vector>

class Connection;

// The legacy import: the seven tables of the earlier database, reached through the ODBC
// data source "Tabel", replace their accounts_dep tables on the server the program is
// connected to, all seven in one transaction.
//
// Each source table (found in the source's catalogue whatever its letter case) is read in
// batches, converted and copied into a temporary staging table of that transaction. The
// staged rows are then checked together: values their target columns cannot hold, ids the
// columns referring to them cannot hold, ids that repeat, journal records that repeat one
// another, item groups the classifier does not know. Any problem ends the import with
// ImportRefused naming them all, and the transaction is rolled back: the database stays as
// it was. Otherwise the targets' rows with an id above 0 are replaced by the staged ones,
// the norm rows of the replaced operations by one row per imported operation at its legacy
// price, and each id generator is moved past the ids copied.
namespace legacy_import {

// The earlier database's data source and its password.
QString sourceConnectionString();

// Called after each batch of rows read ("Проверка H_TABEL: 5 из 120 записей") and before
// each table is written ("Запись в базу: H_TABEL"), and with the same text again every
// tenth of a second while the server works on a whole table. A statement is under way on
// the connection then: nothing else may use it.
using Progress = std::function<void(const QString& text)>;

QString checkingText(const QString& table, qint64 done, qint64 total);
QString writingText(const QString& table);

struct Options {
    QString source = sourceConnectionString();
    int batchRows = 5000;
};

// The source cannot be imported as it stands; nothing was changed. Each problem is one
// line in Russian naming the table, the row (its id) and the field.
class ImportRefused : public DatabaseError {
public:
    explicit ImportRefused(std::vector<QString> problems);
    const std::vector<QString>& problems() const { return problems_; }

private:
    std::vector<QString> problems_;
};

// Throws ImportRefused, or DatabaseError with the import's own message.
void importAll(Connection& target, const Progress& progress, const Options& options = {});

}  // namespace legacy_import
