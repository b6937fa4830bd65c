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
    datasetReset_ = connect(&dataset, &Dataset::reset, this, [this] { selectCurrentRecord(); });
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

// A column without a width of its own is as wide as its title, and no narrower than usual.
int DataGrid::defaultWidth(const GridColumn& column) const
{
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    const int title = QFontMetrics(bold).horizontalAdvance(column.title) + 12;
    return std::max(horizontalHeader()->defaultSectionSize(), title);
}

// A column keeps its designed width unless its widest value would not fit in the font
// the grid is drawn with: text margins on both sides and the grid line.
int DataGrid::layoutWidth(const GridColumn& column) const
{
    const int designed = column.width > 0 ? column.width : defaultWidth(column);
    if (column.widestText.isEmpty())
        return designed;
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return std::max(designed, fontMetrics().horizontalAdvance(column.widestText) + 2 * margin + 1);
}

void DataGrid::applyColumnLayout()
{
    const auto& columns = current_->columns();
    for (int c = 0; c < int(columns.size()); ++c) {
        const GridColumn& column = columns[size_t(c)];
        setColumnHidden(c, !column.visible);
        setColumnWidth(c, layoutWidth(column));
    }
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
