#pragma once

#include <QDate>
#include <QString>
#include <vector>

class TDataModule6;

// The journal records of an earlier shift as a brigade's new shift starts from them.
namespace brigade_copy {

struct CopiedRecord {
    int workerId = 0;
    QString worker;  // the name
    qint64 itemId = 0;
    int operationId = 0;
    QString item;       // the brand
    QString operation;  // "kind; product kind"
    double basePrice = 0;  // the operation's lowest norm price
    int colour = 0;
    int hours = 0;
    qint64 quantity = 0;
    int rejects = 0;
};

// The last date before `before` with records in the shift; invalid when there is none.
QDate lastDateBefore(TDataModule6& module, const QDate& before, int shift);

// The records of the date and shift, by worker name and then as they were entered.
std::vector<CopiedRecord> recordsOf(TDataModule6& module, const QDate& date, int shift);

}  // namespace brigade_copy
