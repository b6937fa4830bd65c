#include "data_grid.h"

#include <QHeaderView>
#include <QPainter>

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
    auto& model = models_[&dataset];
    if (!model)
        model = std::make_unique<DatasetModel>(dataset, columns);
    if (current_ == model.get())
        return;

    disconnect(datasetCurrent_);
    disconnect(datasetReset_);
    disconnect(viewCurrent_);
    current_ = model.get();
    setModel(current_);
    applyColumnLayout();

    datasetCurrent_ = connect(&dataset, &Dataset::currentChanged, this, [this] { selectCurrentRecord(); });
    datasetReset_ = connect(&dataset, &Dataset::reset, this, [this] {
        fitColumnsToValues();
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

// A designed width stays unless the title needs more in the font in use.
int DataGrid::designedWidth(int column, const GridColumn& gridColumn) const
{
    return std::max(gridColumn.width, horizontalHeader()->sectionSizeHint(column));
}

// A column without a designed width fits its title and its widest value, up to a cap.
int DataGrid::fittedWidth(int column) const
{
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 6;
    int widest = 0;
    for (int row = 0; row < current_->rowCount(); ++row)
        widest = std::max(widest, fontMetrics().horizontalAdvance(current_->index(row, column).data().toString()));
    const int fitted = std::max({horizontalHeader()->defaultSectionSize(), horizontalHeader()->sectionSizeHint(column),
                                 widest + margin});
    return std::min(fitted, kMaxFittedWidth);
}

void DataGrid::applyColumnLayout()
{
    const auto& columns = current_->columns();
    for (int c = 0; c < int(columns.size()); ++c) {
        const GridColumn& column = columns[size_t(c)];
        setColumnHidden(c, !column.visible);
        setColumnWidth(c, column.width > 0 ? designedWidth(c, column) : fittedWidth(c));
    }
}

// The values have changed: the columns that fit their values fit them again.
void DataGrid::fitColumnsToValues()
{
    const auto& columns = current_->columns();
    for (int c = 0; c < int(columns.size()); ++c)
        if (columns[size_t(c)].width <= 0 && columns[size_t(c)].visible)
            setColumnWidth(c, fittedWidth(c));
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
