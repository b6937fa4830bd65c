#include "data_grid.h"

#include <QHeaderView>
#include <QPainter>
#include <QSet>

namespace {

class StyledCellDelegate : public QStyledItemDelegate {
public:
    explicit StyledCellDelegate(DataGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    // A short value in a narrow column (a day of the timesheet) is drawn whole on the full
    // cell width instead of being cut to an ellipsis by the usual text margins.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem styled = option;
        initStyleOption(&styled, index);
        const int needed = QFontMetrics(styled.font).horizontalAdvance(styled.text);
        const int margin = grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1;
        if (styled.text.isEmpty() || needed + 2 * margin <= styled.rect.width() || needed > styled.rect.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QString text = styled.text;
        styled.text.clear();
        grid_->style()->drawControl(QStyle::CE_ItemViewItem, &styled, painter, grid_);
        const bool selected = styled.state & QStyle::State_Selected;
        painter->save();
        painter->setFont(styled.font);
        painter->setPen(styled.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(styled.rect, int(styled.displayAlignment), text);
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        DatasetModel* model = grid_->datasetModel();
        if (!grid_->cellStyler() || !model)
            return;
        CellContext context;
        context.row = index.row();
        context.column = index.column();
        context.gridColumn = &model->columns()[size_t(index.column())];
        context.value = model->cellText(index.row(), index.column());
        context.selected = option->state & QStyle::State_Selected;
        CellLook look;
        grid_->cellStyler()(context, look);
        if (look.bold)
            option->font.setBold(true);
        if (look.text.isValid()) {
            option->palette.setColor(QPalette::Text, look.text);
            if (look.textColorWhenSelected)
                option->palette.setColor(QPalette::HighlightedText, look.text);
        }
        if (look.background.isValid())
            option->backgroundBrush = look.background;
    }

private:
    DataGrid* grid_;
};

}  // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are chosen with the arrows; Tab goes on to the window's next control.
    setTabKeyNavigation(false);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegate(new StyledCellDelegate(this));
}

void DataGrid::bind(Dataset& dataset, const std::vector<GridColumn>& columns)
{
    Binding& binding = bindings_[&dataset];
    if (!binding.model) {
        binding.model = std::make_unique<DatasetModel>(dataset, columns);
        // Connected before the refit below, so a re-read is measured afresh.
        connect(&dataset, &Dataset::reset, this, [&binding] { binding.fittedWidths.clear(); });
    }
    if (current_ == binding.model.get())
        return;

    disconnect(datasetCurrent_);
    disconnect(datasetReset_);
    disconnect(viewCurrent_);
    current_ = binding.model.get();
    currentBinding_ = &binding;
    setModel(current_);
    applyColumnLayout();

    datasetCurrent_ = connect(&dataset, &Dataset::currentChanged, this, [this] { selectCurrentRecord(); });
    datasetReset_ = connect(&dataset, &Dataset::reset, this, [this] {
        fitColumns();
        selectCurrentRecord();
    });
    viewCurrent_ = connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                           [this](const QModelIndex& index) {
                               if (syncing_ || !index.isValid())
                                   return;
                               syncing_ = true;
                               current_->dataset().setRecNo(index.row() + 1);
                               syncing_ = false;
                           });
    selectCurrentRecord();
}

Dataset* DataGrid::dataset() const { return current_ ? &current_->dataset() : nullptr; }

// The widest value of a column as the cells draw it, with a little room beside it. A
// value repeated down the column (a name, an item) is measured once.
int DataGrid::widestValue(int column) const
{
    QSet<QString> texts;
    for (int row = 0; row < current_->rowCount(); ++row)
        texts.insert(current_->index(row, column).data().toString());
    int widest = 0;
    const QFontMetrics metrics = fontMetrics();
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest + 4;
}

// A column is as wide as designed (as usual without a design), or as its title needs in the
// font in use, or as its widest value needs up to a cap, whichever is most.
int DataGrid::neededWidth(int column) const
{
    const GridColumn& gridColumn = current_->columns()[size_t(column)];
    const int designed = gridColumn.width > 0 ? gridColumn.width : horizontalHeader()->defaultSectionSize();
    return std::max({designed, horizontalHeader()->sectionSizeHint(column), std::min(widestValue(column), kMaxFittedWidth)});
}

void DataGrid::applyColumnLayout()
{
    const auto& columns = current_->columns();
    for (int c = 0; c < int(columns.size()); ++c)
        setColumnHidden(c, !columns[size_t(c)].visible);
    fitColumns();
}

// After every new reading of the values, so that none is cut. The widths are measured once
// per reading and kept with the dataset, so showing its rows again (another shift of the
// journal and back) measures nothing.
void DataGrid::fitColumns()
{
    const auto& columns = current_->columns();
    std::vector<int>& widths = currentBinding_->fittedWidths;
    if (widths.empty())
        for (int c = 0; c < int(columns.size()); ++c)
            widths.push_back(columns[size_t(c)].visible ? neededWidth(c) : 0);
    for (int c = 0; c < int(columns.size()); ++c)
        if (columns[size_t(c)].visible)
            setColumnWidth(c, widths[size_t(c)]);
}

void DataGrid::selectCurrentRecord()
{
    if (syncing_ || !current_)
        return;
    syncing_ = true;
    const int row = current_->dataset().recNo() - 1;
    if (row >= 0 && row < current_->rowCount()) {
        const QModelIndex index = current_->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selectionModel()->clearSelection();
    }
    syncing_ = false;
}
