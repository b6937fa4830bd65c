#pragma once

#include "pay_statement.h"

#include <QString>
#include <QStringList>
#include <vector>

// A pay statement as lines of text, the same on paper and in the workbook: a line is a
// row of the piece-work table, of the household and hours table, or a line of text with
// an amount at its end, each plain or bold.
namespace pay_statement {

struct Line {
    enum class Style { Piece, PieceBold, Columns, ColumnsBold, Text, TextBold };
    Style style = Style::Text;
    QStringList cells;  // 11 for the piece table, 5 for the other, 2 for a text line
};

// How many cells a line of each style has.
int cellCount(Line::Style style);
bool isBold(Line::Style style);

// "Расчетный листок за февраль 2024".
QString title(const QDate& from, const QDate& to);

// The statement's lines after its head: piece work of shifts 1-3 and of overtime each
// with its subtotal, the piece-work total, household works and their total, the
// timesheet hours, the total to pay and the line to sign.
std::vector<Line> lines(const Statement& statement);

}  // namespace pay_statement
