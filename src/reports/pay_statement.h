#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class Connection;

// A worker's pay statement for a period: every journal record, every household entry,
// the timesheet hours, and what is to be paid. Amounts are kept in kopecks as each line
// is printed (the journal's round((quantity - rejects) × price, 2)), and every total is
// the sum of the lines above it, so that a statement adds up on paper.
namespace pay_statement {

struct PieceLine {
    QDate date;
    int shift = 0;          // 1 to 3, 4 overtime
    QString brand;          // the item's brand, or a note that the item is gone
    QString operation;      // the operation kind with the colour text
    QString productKind;
    int quantity = 0;
    int rejects = 0;
    double price = 0;
    qint64 payKopecks = 0;  // (quantity - rejects) × price to the kopeck
    bool accepted = false;

    int good() const { return quantity - rejects; }
    bool overtime() const { return shift == 4; }
};

struct HouseholdLine {
    QDate date;
    QString kind;
    int hours = 0;
    double price = 0;
    qint64 amountKopecks = 0;
};

// Hours of the timesheet in the period: per working shift, and the days with any hours.
struct Hours {
    std::array<int, 3> hours{};
    std::array<int, 3> days{};
    int daysWorked = 0;

    int total() const { return hours[0] + hours[1] + hours[2]; }
};

struct Statement {
    int workerKey = 0;
    QString name;      // as the journal shows the worker, or marked when it cannot
    QString position;  // the department the workers register keeps
    std::vector<PieceLine> pieces;
    std::vector<HouseholdLine> household;
    Hours hours;

    qint64 pieceKopecks() const;
    qint64 householdKopecks() const;
    qint64 totalKopecks() const { return pieceKopecks() + householdKopecks(); }
    bool empty() const { return pieces.empty() && household.empty(); }
};

// The statements of the period (from inclusive, to exclusive): of every worker with
// journal records or household entries, or of the one worker `workerKey` (above 0),
// sorted by name. A person the journal finds twice for one worker key gives two
// statements, as the journal shows the records under both. One worker with nothing in
// the period still gets a statement that says so.
std::vector<Statement> read(Connection& connection, const QDate& from, const QDate& to, int workerKey = 0);

// "за февраль 2024" for a calendar month, else "за период с 03.02.2024 по 14.02.2024"
// naming the last day that is in the period.
QString periodCaption(const QDate& from, const QDate& to);

// Numbers as printed: the user's decimal separator, no digit grouping.
QLocale numberLocale();
// Money and prices as printed: two decimals; a price as stored, up to four decimals.
QString money(qint64 kopecks);
QString price(double value);

// The queries, for the benchmark and the tests: parameters data1, data2 and worker.
namespace sql {
QString workers();
QString pieces();
QString household();
QString hours();
}  // namespace sql

}  // namespace pay_statement
