#pragma once

#include "command.h"
#include "connection.h"
#include "dataset.h"
#include "month_lock.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>

// The shared data module: the one connection and the datasets and statements that
// several windows use. Windows show these datasets directly, so a list window, the
// pickers built on it and the editors that read it share one current row and one filter.
class TDataModule6 {
public:
    // How CheckDuplicate shows its message; the windows layer passes the error box.
    using ErrorReporter = std::function<void(const QString& message)>;

    explicit TDataModule6(ErrorReporter reportError);
    TDataModule6(const TDataModule6&) = delete;
    TDataModule6& operator=(const TDataModule6&) = delete;

    Connection ADO_DB;

    Dataset Workers;
    Dataset Izdel;
    Dataset Vid_oper;
    Dataset Oper;
    Dataset Smena1;
    Dataset Smena2;
    Dataset Smena3;
    Dataset Smena4;
    Dataset H_Tabel_1;
    Dataset H_Tabel_2;
    Dataset H_Tabel_3;
    Dataset Control;  // one-row lookups and counts: text replaced by each user

    Command DelSmena;
    Command H_Tabel_ins;
    Command SQL_exec;
    Command Oper_ins;
    Command Oper_ed;
    Command Oper_del;

    // Decimal separator named by the version stamp table. Statements carry a full stop
    // whatever it says: SQL reads no other.
    QString DbDelimiter;

    // The first column of the first row a query reads, its ":name" parameters bound from
    // params; an invalid QVariant when there is no row or the value is null.
    QVariant scalar(const QString& sql, const QVariantMap& params = {});

    // Runs a count query (one row, one column); shows the message and returns true
    // when the count is above zero.
    bool CheckDuplicate(const QString& query, const QVariantMap& params, const QString& message);
    // CheckDuplicate for a name unique whatever its letter case: whether a row of the table
    // other than ownId (0 when adding) has it in the column.
    bool CheckDuplicateName(const QString& table, const QString& column, const QString& name, qint64 ownId,
                            const QString& message);
    // The same count without the message, for a check made inside a transaction whose
    // locks must not be held while a message box waits for the user.
    bool CountsAny(const QString& query, const QVariantMap& params = {});

    // What the database offers, found out once the connection is open (DetectDatabaseFeatures):
    // whether the administrator's script of closed months and change history is installed
    // (without it nothing is closed), and whether the ERP indexes its person codes as numbers
    // (the timesheet's grids then find their persons through that index).
    bool MonthLockInstalled = false;
    bool PersonCodesIndexed = false;
    void DetectDatabaseFeatures();
    // The month of the date when it is closed; nothing when it is open or there is no script.
    std::optional<month_lock::ClosedMonth> ClosedMonthOf(const QDate& date);

    // Smena1 … Smena4 for shifts 1 … 4; Smena1 for any other value.
    Dataset& shiftQuery(int shift);
    // H_Tabel_1 … H_Tabel_3 for shifts 1 … 3.
    Dataset& timesheetQuery(int shift);

private:
    ErrorReporter reportError_;
};

// The texts of the module's queries, for the module and its tests.
namespace data_module_sql {
QString oper();
QString shift(int shift);
// personCodesIndexed: see TDataModule6::PersonCodesIndexed.
QString monthlyTimesheet(int shift, bool personCodesIndexed);
}  // namespace data_module_sql

extern TDataModule6* DataModule6;
