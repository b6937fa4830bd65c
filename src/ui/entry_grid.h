#pragma once

#include <QStringList>
#include <QTableWidget>
#include <functional>

// A grid that is filled from the keyboard alone, row after row. The cells the window
// marks as typed take what is typed into them (the first character typed replaces what the
// cell showed, Backspace takes one back); Enter hands the typed text to the window and
// moves to the row's next typed cell, and from its last one the window goes on (a new row).
// Delete or Ctrl+Delete removes the current row, F4 asks the window to pick the current
// cell's value from a list. Cells not typed into are shown only.
class EntryGrid : public QTableWidget {
    Q_OBJECT
public:
    EntryGrid(QWidget* parent, const char* name, const QStringList& titles);

    // Whether the user types into this cell.
    std::function<bool(int row, int column)> isTyped;
    // Enter on a typed cell: takes its text, and false keeps the cell current (a worker not found).
    std::function<bool(int row, int column, const QString& typed)> takeTyped;
    // The cell's text changed while typed into: the window narrows a list, shows the pay.
    std::function<void(int row, int column, const QString& typed)> typing;
    // Enter on the row's last typed cell, after it was taken.
    std::function<void(int row)> rowDone;
    // Delete or Ctrl+Delete on a row.
    std::function<void(int row)> deleteRow;
    std::function<void(int row, int column)> pickCell;

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    // Makes the row's first empty typed cell current, ready to be typed into (its first
    // typed cell when none is empty): a row filled in part is entered where it waits.
    void enterRow(int row);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool typeInto(const QString& typed);
    void backspace();
    void takeAndMoveOn();
    int nextTypedColumn(int row, int after) const;

    bool fresh_ = true;  // the current cell not typed into since it became current
};
