#pragma once

#include "test_database.h"

#include <QDate>
#include <QString>

// Reference data and journal records written straight into a test database.
class Seed {
public:
    explicit Seed(TestDatabase& db) : db_(db) {}

    // A worker and the ERP person whose code is the worker key; returns the key.
    int worker(const QString& fio, const QString& position = QStringLiteral("Цех №1"));
    int classifierEntry(const QString& caption);                 // level 2
    int item(const QString& marka, int classifierEntryId = 0);   // returns the item id
    int operationKind(const QString& vid, int id = 0);
    // An operation of an item and kind; with a norm row of this price unless price < 0.
    int operation(int itemId, int kindId, int naimen = 0, double price = 10.0);
    void norm(int operationId, int norma, double price, int prize = 0);

    struct Record {
        int worker = 0;
        int item = 0;
        int operation = 0;
        double price = 10.0;
        int quantity = 10;
        int rejects = 0;
        QDate date;
        int shift = 1;
        int color = 0;
        int hours = 8;
        QString ok = QStringLiteral("no");  // "<null>" writes null
    };
    // Writes the record; one that would repeat another's worker, item, operation, date,
    // shift and colour gets the next free colour instead (the journal stores no duplicates).
    int record(const Record& r);

    // One record with fresh reference data around it.
    struct Journal {
        int worker, item, kind, operation;
    };
    Journal smallJournal(const QString& fio = QStringLiteral("Иванов И.И."));
    // A record of that journal's worker (or another), item and operation.
    static Record recordOf(const Journal& j, const QDate& date, int shift, int worker = 0);

private:
    int freeColour(const Record& r);

    TestDatabase& db_;
};
