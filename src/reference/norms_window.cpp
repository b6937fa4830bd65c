#include "norms_window.h"

#include "controls.h"
#include "data_module.h"
#include "database_error.h"
#include "dataset_model.h"
#include "handler_guard.h"
#include "input_rules.h"
#include "seams.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TForm22* Form22 = nullptr;

namespace {

// Norms and prices are what the journal pays by; a bonus is a percentage.
const InputRule kNorm = InputRule::wholeNumber(QStringLiteral("Норматив"), 0, 1000000);
const InputRule kPrice = InputRule::decimal(QStringLiteral("Цена"), 0, kPriceCeiling, 4);
const InputRule kBonus = InputRule::wholeNumber(QStringLiteral("Премия, %"), 0, 100).optional();

const InputRule& ruleOf(const QString& field)
{
    if (field == QStringLiteral("norma"))
        return kNorm;
    return field == QStringLiteral("price") ? kPrice : kBonus;
}

}  // namespace

// The norm rows and, below them, an empty row where a new norm is typed.
class NormsModel : public DatasetModel {
public:
    NormsModel(TForm22& window, std::vector<GridColumn> columns)
        : DatasetModel(window.norm, std::move(columns), &window), window_(window)
    {
    }

    bool isNewRow(int row) const { return row == dataset().recordCount(); }
    const QString& field(int column) const { return columns()[size_t(column)].field; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !dataset().isOpen() ? 0 : dataset().recordCount() + 1;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? DatasetModel::flags(index) | Qt::ItemIsEditable : DatasetModel::flags(index);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return DatasetModel::data(index, role);
        if (!editedRow(index.row()))
            return isNewRow(index.row()) ? QVariant(QString()) : DatasetModel::data(index, Qt::DisplayRole);
        const Field value = dataset().fieldByName(field(index.column()));
        const int column = dataset().columnIndex(field(index.column()));
        const GridColumn& gridColumn = columns()[size_t(index.column())];
        return value.isNull() ? QString()
                              : formatForDisplay(value.asString(), dataset().columns()[size_t(column)].oid, gridColumn.minDecimals,
                                                 gridColumn.maxDecimals);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::EditRole || value.toString() == data(index, Qt::EditRole).toString())
            return false;
        runHandler([&] { window_.cellEdited(index.row(), field(index.column()), value.toString()); }, &window_);
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
        return true;
    }

private:
    // The row whose typed values are not written yet.
    bool editedRow(int row) const
    {
        const Dataset::State state = dataset().state();
        return (state == Dataset::State::Insert && isNewRow(row))
            || (state == Dataset::State::Edit && row == dataset().recNo() - 1);
    }

    TForm22& window_;
};

TForm22::TForm22(QWidget* parent)
    : QDialog(parent), norm(DataModule6->ADO_DB, QStringLiteral("select *, xmin from accounts_dep.norm order by norma, id"))
{
    setObjectName(QStringLiteral("Form22"));
    setWindowTitle(QStringLiteral("Норматив"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    norm.setObjectName(QStringLiteral("norm"));
    norm.setUpdateTable(QStringLiteral("accounts_dep.norm"), {QStringLiteral("id")});
    // A row another workstation changed since it was read is not overwritten.
    norm.setRowVersion(QStringLiteral("xmin"));

    model_ = new NormsModel(*this, {{QStringLiteral("norma"), QStringLiteral("Норматив"), 133},
                                    {QStringLiteral("price"), QStringLiteral("Цена"), 105, {}, true, 2, 3},
                                    {QStringLiteral("prize"), QStringLiteral("Премия, %"), 82}});
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    DBGrid1->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < model_->columnCount(); ++column)
        DBGrid1->setColumnWidth(column, model_->columns()[size_t(column)].width);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) { followCurrentCell(current, previous); });

    Button1 = makeButton(this, "Button1", QStringLiteral("Сохранить"));
    Button1->setDefault(true);
    Button2 = makeButton(this, "Button2", QStringLiteral("Удалить"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(133 + 105 + 82 + 70, 300);

    connectHandler(Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm22::Button2Click);
}

TForm22::~TForm22() = default;

void TForm22::showForOperation(int operationId)
{
    norm.close();
    norm.setFilter(QStringLiteral("o_id=") + QString::number(operationId));
    norm.setFiltered(true);
    norm.open();
    OperationId = operationId;
    seams::showModal(*this);
}

void TForm22::cellEdited(int row, const QString& field, const QString& typed)
{
    // A refused value never enters the row, so leaving the cell writes nothing of it.
    const QString value = ruleOf(field).valueOf(typed);
    if (row < norm.recordCount()) {
        if (norm.state() != Dataset::State::Edit || norm.recNo() != row + 1) {
            norm.cancel();
            norm.setRecNo(row + 1);
            norm.edit();
        }
    } else if (norm.state() != Dataset::State::Insert) {
        norm.cancel();
        norm.append();
    }
    norm.fieldByName(field).setValue(value.isEmpty() ? QVariant() : QVariant(value));
}

// A new row is written once it has its norm and its price.
QString TForm22::missingInNewRow() const
{
    if (norm.state() != Dataset::State::Insert)
        return {};
    for (const QString& field : {QStringLiteral("norma"), QStringLiteral("price")})
        if (norm.fieldByName(field).isNull())
            return ruleOf(field).check(QString()).refusal;
    return {};
}

void TForm22::writePendingRow()
{
    if (norm.state() != Dataset::State::Edit && norm.state() != Dataset::State::Insert)
        return;
    const QString missing = missingInNewRow();
    if (!missing.isEmpty())
        throw InputRefused(missing);
    if (norm.state() == Dataset::State::Insert)
        norm.fieldByName(QStringLiteral("o_id")).setValue(OperationId);
    rereadWhenStale([this] { norm.post(); });
    norm.refresh(QStringLiteral("id"), Dataset::Fallback::First);
}

// What the user typed over another workstation's change is dropped and the rows are
// shown as they are now; the refusal goes on to the error display. Any other write the
// server refuses is shown once too: the change is dropped, not tried again on every move.
void TForm22::rereadWhenStale(const std::function<void()>& write)
{
    try {
        write();
    } catch (const StaleRecordError&) {
        norm.cancel();
        norm.refresh({}, Dataset::Fallback::First);
        throw;
    } catch (const DatabaseError&) {
        norm.cancel();
        throw;
    }
}

// Leaving a column writes what was typed into the row; the grid then stays on that row,
// wherever its norm value has put it.
void TForm22::followCurrentCell(const QModelIndex& current, const QModelIndex& previous)
{
    if (writing_ || !current.isValid())
        return;
    writing_ = true;
    int row = current.row();
    const bool pending = norm.state() == Dataset::State::Edit || norm.state() == Dataset::State::Insert;
    // Moving within a new row waits for its norm and price; leaving it without them is refused.
    const bool newRowWaits = model_->isNewRow(row) && !missingInNewRow().isEmpty();
    if (pending && !newRowWaits) {
        runHandler([this] { writePendingRow(); }, this);
        if (norm.state() == Dataset::State::Insert)
            row = norm.recordCount();
        else if (previous.row() == current.row() && !norm.isEmpty() && norm.state() == Dataset::State::Browse)
            row = norm.recNo() - 1;
        DBGrid1->setCurrentIndex(model_->index(row, current.column()));
    }
    if (norm.state() == Dataset::State::Browse && row < norm.recordCount())
        norm.setRecNo(row + 1);
    writing_ = false;
}

void TForm22::Button1Click()
{
    writePendingRow();
    DataModule6->Oper.refresh({}, Dataset::Fallback::PositionOrFirst);
    accept();
}

// The row deleted is the one the grid stands on; on the empty row of a new norm only what
// was typed there goes.
void TForm22::Button2Click()
{
    const QModelIndex cell = DBGrid1->currentIndex();
    const int row = cell.isValid() ? cell.row() : norm.recNo() - 1;
    norm.cancel();
    if (norm.recordCount() > 1 && row >= 0 && row < norm.recordCount()) {
        norm.setRecNo(row + 1);
        rereadWhenStale([this] { norm.deleteRecord(); });
    }
    norm.refresh({}, Dataset::Fallback::First);
}

void TForm22::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Button1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm22::reject()
{
    norm.cancel();
    QDialog::reject();
}
