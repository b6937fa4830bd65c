#include "pay_statement_export.h"

#include "excel_export.h"
#include "pay_statement_lines.h"

namespace {

using pay_statement::Line;
using Style = Line::Style;

constexpr int kColumns = 11;

// Where the cells of a line go among the piece table's columns (0-based).
const std::vector<int>& targetColumns(Style style)
{
    static const std::vector<int> piece = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    static const std::vector<int> table = {0, 2, 5, 8, 9};  // date, kind, hours, price, amount
    static const std::vector<int> text = {0, 9};
    if (style == Style::Piece || style == Style::PieceBold)
        return piece;
    if (style == Style::Columns || style == Style::ColumnsBold)
        return table;
    return text;
}

QStringList rowOf(const Line& line)
{
    QStringList row;
    for (int c = 0; c < kColumns; ++c)
        row << QString();
    const std::vector<int>& columns = targetColumns(line.style);
    for (int cell = 0; cell < line.cells.size() && cell < int(columns.size()); ++cell)
        row[columns[size_t(cell)]] = line.cells[cell];
    return row;
}

// Table rows fit their columns; the head and the text lines run over the empty cells to
// their right instead of widening the date column.
void writeRow(ExcelExport& excel, int row, const QStringList& texts, bool bold, bool fit)
{
    for (int column = 1; column <= texts.size(); ++column)
        excel.WriteCellFormatted(1, column, row, texts[column - 1], false, fit, bold);
}

bool isTable(Style style) { return style != Style::Text && style != Style::TextBold; }

}  // namespace

void exportPayStatements(const std::vector<pay_statement::Statement>& statements, const QDate& from, const QDate& to,
                         ExcelExport& excel)
{
    if (excel.OpenExcel(QString()) == -1)
        return;
    const QString title = pay_statement::title(from, to);
    int row = 1;
    for (const pay_statement::Statement& statement : statements) {
        writeRow(excel, row++, {title}, true, false);
        writeRow(excel, row++, {statement.name}, true, false);
        writeRow(excel, row++, {statement.position}, false, false);
        for (const Line& line : pay_statement::lines(statement))
            writeRow(excel, row++, rowOf(line), pay_statement::isBold(line.style), isTable(line.style));
        ++row;  // a blank row between workers
    }
    excel.ShowExcel(true);
}
