#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

// A workbook of one worksheet held in memory while an export fills it, then written
// as an .xlsx file. Cells keep the text they were given; on writing, a text that reads
// as a number becomes a number cell unless its cell carries the text format "@", the way
// a spreadsheet application treats typed text.
class Workbook {
public:
    static constexpr int kSheets = 1;

    // Row and column are 1-based. False when the cell lies outside a worksheet or the
    // text is longer than a cell holds; nothing is changed then.
    bool canHold(int row, int column, const QString& text) const;

    void setText(int row, int column, const QString& text);
    void setTextFormat(int row, int column);
    void setBold(int row, int column, bool bold);
    // Widens or narrows the column to its longest text as it stands now.
    void autoFitColumn(int column);

    // Writes the .xlsx file; the error text when that fails.
    std::optional<QString> saveAs(const QString& path) const;

    struct Cell {
        QString text;
        bool textFormat = false;
        bool bold = false;
        std::optional<double> width;  // measured for auto-fit; none until then or after a change
    };

private:
    // What changed in a column since it was last fitted.
    struct PendingFit {
        std::vector<int> rows;
        bool whole = false;  // a cell that may have been the widest changed
    };

    Cell& cell(int row, int column) { return columns_[column][row]; }
    void changing(int row, int column);
    static double measured(Cell& c);

    std::map<int, std::map<int, Cell>> columns_;  // column → row → cell
    std::map<int, double> widths_;                // column → width in characters
    std::map<int, PendingFit> pendingFits_;       // column → changes since its last fit
};

// The number a typed text stands for, in the user's regional format or with a full
// stop; none when the text is not a finite number.
std::optional<double> typedNumber(const QString& text);
