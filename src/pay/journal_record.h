#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

namespace pay {

// One record of the journal of shift production as it is saved: who made how many pieces
// of which operation on which item, on which date and shift, in which colour, the rejects,
// the hours and the final unit price.
struct JournalRecord {
    // The record being changed and its row version (xmin) as it was read; 0 for a new one.
    qint64 id = 0;
    QString version;
    int workerId = 0;
    qint64 itemId = 0;
    int operationId = 0;
    QDate date;
    int shift = 0;
    int colour = 0;
    qint64 quantity = 0;
    int rejects = 0;
    int hours = 0;
    double price = 0.0;
    QDate entered;  // the day the record is entered (vvod)

    bool isNew() const { return id == 0; }
};

// What the columns of a record hold: the limits a typed value is checked against.
struct Limit {
    const char* field;  // as the record editor labels it
    qint64 maximum;     // every value is 0 or more
};
inline constexpr Limit kQuantityLimit{"Кол-во", 2147483647};
inline constexpr Limit kRejectsLimit{"Брак", 32767};
inline constexpr Limit kColourLimit{"Цвет", 2147483647};
// A worker's hours of one shift and day: the timesheet's cell holds no more.
inline constexpr int kMaxDayHours = 24;
inline constexpr Limit kHoursLimit{"Время", kMaxDayHours};

// Why the record cannot be saved as it stands, naming the field; empty when it can.
// The hours of the whole day are checked by the save, under the lock of the day's cell.
QString refusal(const JournalRecord& record);

// The refusal of a day whose hours, with the record, come to `hours`; empty within the day.
QString dayHoursRefusal(const QDate& date, int hours);

}  // namespace pay
