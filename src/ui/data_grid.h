#pragma once

#include "dataset_model.h"

#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <map>
#include <memory>

// How one cell is drawn; a window's styler adjusts it per cell.
struct CellLook {
    bool bold = false;
    QColor text;        // invalid: the normal colour
    QColor background;  // invalid: the normal background
    bool textColorWhenSelected = false;  // the colour also replaces the selected-row text colour
};

struct CellContext {
    int row = 0;
    int column = 0;
    const GridColumn* gridColumn = nullptr;
    std::optional<QString> value;  // stored text, nullopt for null
    bool selected = false;
};

using CellStyler = std::function<void(const CellContext&, CellLook&)>;

// A read-only grid over a dataset: whole rows selected, selection always shown,
// columns resizable. The grid's current row and the dataset's current record move together.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Binds the grid to a dataset with these columns. A grid shows one of several
    // datasets (the journal's shifts): each binding keeps its own model.
    void bind(Dataset& dataset, const std::vector<GridColumn>& columns);
    Dataset* dataset() const;
    DatasetModel* datasetModel() const { return current_; }

    void setCellStyler(CellStyler styler) { styler_ = std::move(styler); }
    const CellStyler& cellStyler() const { return styler_; }

private:
    void selectCurrentRecord();
    void applyColumnLayout();
    void fitColumns();
    int widestValue(int column) const;
    int neededWidth(int column) const;

    static constexpr int kMaxFittedWidth = 400;

    // A dataset's model and its column widths as measured on its present rows (empty
    // once the dataset is read again).
    struct Binding {
        std::unique_ptr<DatasetModel> model;
        std::vector<int> fittedWidths;
    };
    std::map<Dataset*, Binding> bindings_;
    DatasetModel* current_ = nullptr;
    Binding* currentBinding_ = nullptr;
    CellStyler styler_;
    QMetaObject::Connection datasetCurrent_, datasetReset_, viewCurrent_;
    bool syncing_ = false;
};
