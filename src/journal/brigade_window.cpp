#include "brigade_window.h"

#include "brigade_copy.h"
#include "controls.h"
#include "data_module.h"
#include "date_box.h"
#include "entry_grid.h"
#include "error_box.h"
#include "handler_guard.h"
#include "journal_record.h"
#include "month_lock_view.h"
#include "number_text.h"
#include "record_fields.h"
#include "record_save.h"
#include "seams.h"
#include "shift_price.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <cmath>

TForm27* Form27 = nullptr;

namespace {

const QColor kRefusedRow(255, 210, 210);

bool isWholeNumber(const QString& typed)
{
    bool number = false;
    typed.trimmed().toInt(&number);
    return number;
}

double kopecks(double value) { return std::round(value * 100.0) / 100.0; }

// "brand; kind; product kind", as the record editor shows an operation and finds paint in it.
QString description(const QString& item, const QString& operation) { return item + QStringLiteral("; ") + operation; }

bool paints(const BrigadeOperation& operation)
{
    return record_fields::isPaintOperation(description(operation.item, operation.operation));
}

}  // namespace

TForm27::TForm27(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form27"));
    setWindowTitle(QStringLiteral("Бригада"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    buildControls();
    layOutControls();
    connectHandlers();
}

void TForm27::buildControls()
{
    DateT = new DateBox(this, "DateT");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Смена №1"), QStringLiteral("Смена №2"), QStringLiteral("Смена №3"),
                         QStringLiteral("Переработка")});
    CBox1 = new QCheckBox(QStringLiteral("Выходной"), this);
    CBox1->setObjectName(QStringLiteral("CBox1"));
    Edit1 = makeEdit(this, "Edit1", true);
    Button4 = makeButton(this, "Button4", QStringLiteral("..."));
    Edit2 = makeEdit(this, "Edit2", true);
    Edit3 = makeEdit(this, "Edit3");
    record_fields::colour().prepare(Edit3);
    DBGrid1 = new EntryGrid(this, "DBGrid1",
                            {QStringLiteral("Работник"), QStringLiteral("Изделие"), QStringLiteral("Операция"),
                             QStringLiteral("Цвет"), QStringLiteral("Кол-во"), QStringLiteral("Брак"), QStringLiteral("Часы"),
                             QStringLiteral("Цена"), QStringLiteral("Сумма"), QStringLiteral("Причина отказа")});
    const int widths[ColumnCount] = {170, 130, 250, 50, 60, 50, 50, 60, 70, 320};
    for (int column = 0; column < ColumnCount; ++column)
        DBGrid1->setColumnWidth(column, widths[column]);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFocusPolicy(Qt::NoFocus);
    ListBox1->setFixedWidth(200);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Button2 = makeButton(this, "Button2", QStringLiteral("Копировать с…"));
    DateFrom = new DateBox(this, "DateFrom");
    CheckBox1 = new QCheckBox(QStringLiteral("с количеством"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Button1 = makeButton(this, "Button1", QStringLiteral("Записать"));
    Button1->setToolTip(QStringLiteral("F2"));
    Button3 = makeButton(this, "Button3", QStringLiteral("Выход"));
    MonthLock = new MonthLockView(this, {Button1});
}

void TForm27::layOutControls()
{
    auto* top = new QHBoxLayout;
    top->addWidget(makeLabel(this, "Label2", QStringLiteral("Дата"), DateT));
    top->addWidget(DateT);
    top->addWidget(ComboBox1);
    top->addWidget(CBox1);
    top->addStretch();
    top->addWidget(Button2);
    top->addWidget(DateFrom);
    top->addWidget(CheckBox1);

    auto* defaults = new QHBoxLayout;
    defaults->addWidget(makeLabel(this, "Label3", QStringLiteral("Операция (F4)"), Button4));
    defaults->addWidget(fieldRow(this, {Edit1, Button4}), 1);
    defaults->addWidget(makeLabel(this, "Label4", QStringLiteral("Цена"), Edit2));
    Edit2->setFixedWidth(90);
    defaults->addWidget(Edit2);
    defaults->addWidget(makeLabel(this, "Label5", QStringLiteral("Цвет"), Edit3));
    Edit3->setFixedWidth(70);
    defaults->addWidget(Edit3);

    auto* middle = new QHBoxLayout;
    middle->addWidget(DBGrid1, 1);
    middle->addWidget(ListBox1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1, 1);
    bottom->addWidget(Button1);
    bottom->addWidget(Button3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(MonthLock->line());
    layout->addLayout(defaults);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    resize(1400, 560);
    setTabOrder(DateT, ComboBox1);
    setTabOrder(ComboBox1, CBox1);
    setTabOrder(CBox1, Button4);
    setTabOrder(Button4, Edit3);
    setTabOrder(Edit3, DBGrid1);
    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, DateFrom);
    setTabOrder(DateFrom, CheckBox1);
    setTabOrder(CheckBox1, Button3);
}

void TForm27::connectHandlers()
{
    DBGrid1->isTyped = [this](int row, int column) { return isTyped(row, column); };
    DBGrid1->takeTyped = [this](int row, int column, const QString& typed) {
        bool taken = false;
        runHandler([&] { taken = takeTyped(row, column, typed); }, this);
        return taken;
    };
    DBGrid1->typing = [this](int row, int column, const QString& typed) { typing(row, column, typed); };
    DBGrid1->rowDone = [this](int row) { rowDone(row); };
    DBGrid1->deleteRow = [this](int row) { removeRow(row); };
    DBGrid1->pickCell = [this](int row, int column) { runHandler([&] { pickCell(row, column); }, this); };
    connectHandler(Button1, &QPushButton::clicked, this, &TForm27::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm27::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm27::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm27::Button4Click);
    auto* save = new QShortcut(QKeySequence(Qt::Key_F2), this);
    // Through the button, so that F2 too writes nothing while "Записать" is disabled.
    connect(save, &QShortcut::activated, Button1, &QPushButton::click);
    // F4 outside the grid picks the operation new rows take; the grid takes F4 itself.
    auto* pick = new QShortcut(QKeySequence(Qt::Key_F4), this);
    connectHandler(pick, &QShortcut::activated, this, &TForm27::Button4Click);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { runHandler([this] { showDefaults(); proposeSourceDate(); }, this); });
    connect(CBox1, &QCheckBox::toggled, this, [this] { showDefaults(); });
    connect(DateT, &QDateEdit::dateChanged, this, [this] {
        runHandler([this] {
            proposeSourceDate();
            showMonthLock();
        }, this);
    });
}

void TForm27::showFor(const BrigadeInput& input)
{
    DateT->setDate(input.date);
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(input.shift - 1);
    }
    CBox1->setChecked(input.dayOff);
    readWorkers();
    proposeSourceDate();
    showMonthLock();
    clearRows();
    showDefaults();
    seams::showModal(*this);
}

void TForm27::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (defaultOperation_)
        DBGrid1->setFocus();
    else
        Button4->setFocus();
}

// The workers, by name, for the lookup as the user types.
void TForm27::readWorkers()
{
    Dataset& workers = DataModule6->Workers;
    workers.open();
    workers_.clear();
    for (workers.first(); !workers.eof(); workers.next())
        workers_.push_back({workers.fieldByName(QStringLiteral("id")).asInteger(),
                            workers.fieldByName(QStringLiteral("fio")).asString().trimmed()});
    workers.close();
    narrowWorkers({});
}

int TForm27::shift() const { return ComboBox1->currentIndex() + 1; }

double TForm27::shiftPrice(const BrigadeOperation& operation) const
{
    return pay::shiftPrice(operation.basePrice, CBox1->isChecked(), shift());
}

bool TForm27::isPaint(int row) const
{
    return row >= 0 && row < int(rows_.size()) && paints(rows_[row].operation);
}

bool TForm27::isTyped(int row, int column) const
{
    switch (column) {
    case Worker:
    case Quantity:
    case Rejects:
    case Hours:
        return true;
    case Colour:
        return isPaint(row);
    default:
        return false;
    }
}

// The worker whose key is typed, or the first by name whose name starts with what is typed.
std::optional<BrigadeWorker> TForm27::findWorker(const QString& typed) const
{
    const QString start = typed.trimmed();
    if (start.isEmpty())
        return std::nullopt;
    for (const BrigadeWorker& worker : workers_)
        if (isWholeNumber(start) ? worker.id == start.toInt() : worker.name.startsWith(start, Qt::CaseInsensitive))
            return worker;
    return std::nullopt;
}

bool TForm27::takeTyped(int row, int column, const QString& typed)
{
    if (column != Worker || (rows_[row].worker.id != 0 && typed == rows_[row].worker.name))
        return true;
    // Nothing typed: the cell waits for a worker.
    if (typed.trimmed().isEmpty())
        return false;
    const std::optional<BrigadeWorker> found = findWorker(typed);
    if (!found) {
        showError(this, QStringLiteral("Работник «%1» не найден").arg(typed.trimmed()));
        return false;
    }
    rows_[row].worker = *found;
    DBGrid1->setText(row, Worker, found->name);
    showRow(row);
    narrowWorkers({});
    return true;
}

void TForm27::typing(int row, int column, const QString&)
{
    if (column == Worker)
        narrowWorkers(DBGrid1->text(row, column));
    rows_[row].refusal.clear();
    showRow(row);
    showSums();
}

void TForm27::narrowWorkers(const QString& typed)
{
    ListBox1->clear();
    const QString start = typed.trimmed();
    for (const BrigadeWorker& worker : workers_)
        if (start.isEmpty() || worker.name.startsWith(start, Qt::CaseInsensitive)
            || (isWholeNumber(start) && QString::number(worker.id).startsWith(start)))
            ListBox1->addItem(QStringLiteral("%1  %2").arg(worker.name).arg(worker.id));
    ListBox1->setCurrentRow(0);
}

// Enter past the last row's last cell opens a new row; past another row's, goes down.
void TForm27::rowDone(int row)
{
    if (row + 1 == int(rows_.size()))
        appendNewRow();
    DBGrid1->enterRow(row + 1);
}

void TForm27::removeRow(int row)
{
    rows_.erase(rows_.begin() + row);
    DBGrid1->removeRow(row);
    if (rows_.empty())
        appendNewRow();
    DBGrid1->enterRow(std::min(row, int(rows_.size()) - 1));
    showSums();
}

void TForm27::pickCell(int row, int column)
{
    if (column == Worker && pickWorker) {
        if (const std::optional<BrigadeWorker> picked = pickWorker()) {
            rows_[row].worker = *picked;
            DBGrid1->setText(row, Worker, picked->name);
            showRow(row);
        }
    } else if ((column == Item || column == Operation) && pickOperation) {
        if (const std::optional<BrigadeOperation> picked = pickOperation(rows_[row].operation.operationId, CBox1->isChecked(), shift())) {
            rows_[row].operation = *picked;
            if (!isPaint(row))
                DBGrid1->setText(row, Colour, {});
            showRow(row);
        }
    }
    showSums();
}

// The operation new rows take; the rows not yet started take it as well.
void TForm27::Button4Click()
{
    if (!pickOperation)
        return;
    const std::optional<BrigadeOperation> picked
        = pickOperation(defaultOperation_ ? defaultOperation_->operationId : 0, CBox1->isChecked(), shift());
    if (!picked)
        return;
    defaultOperation_ = picked;
    for (int row = 0; row < int(rows_.size()); ++row)
        if (isBlank(row)) {
            rows_[row].operation = *picked;
            showRow(row);
        }
    showDefaults();
    DBGrid1->setFocus();
    DBGrid1->enterRow(DBGrid1->currentRow() < 0 ? 0 : DBGrid1->currentRow());
}

void TForm27::showDefaults()
{
    const bool paint = defaultOperation_ && paints(*defaultOperation_);
    Edit1->setText(defaultOperation_ ? description(defaultOperation_->item, defaultOperation_->operation) : QString());
    Edit1->home(false);
    Edit2->setText(defaultOperation_ ? numberText(pay::roundPrice(shiftPrice(*defaultOperation_))) : QString());
    if (!paint)
        Edit3->clear();
    Edit3->setEnabled(paint);
    for (int row = 0; row < int(rows_.size()); ++row)
        showRow(row);
    showSums();
}

// "Копировать с…" starts from the last earlier date with records in the shift.
void TForm27::proposeSourceDate()
{
    const QDate last = brigade_copy::lastDateBefore(*DataModule6, DateT->date(), shift());
    DateFrom->setDate(last.isValid() ? last : DateT->date().addDays(-1));
}

void TForm27::showMonthLock() { MonthLock->show(DataModule6->ClosedMonthOf(DateT->date())); }

void TForm27::appendRow(Row row, const QString& colour, const QString& quantity, const QString& rejects, const QString& hours)
{
    rows_.push_back(std::move(row));
    const int at = int(rows_.size()) - 1;
    DBGrid1->insertRow(at);
    const std::pair<int, QString> typed[] = {{Worker, rows_[at].worker.name}, {Colour, colour}, {Quantity, quantity},
                                             {Rejects, rejects}, {Hours, hours}};
    for (const auto& [column, text] : typed)
        DBGrid1->setText(at, column, text);
    showRow(at);
}

// A new row takes the operation and colour above the grid, no rejects, and the hours of
// the row before it: a brigade mostly works the same hours.
void TForm27::appendNewRow()
{
    Row row;
    if (defaultOperation_)
        row.operation = *defaultOperation_;
    const QString hours = rows_.empty() ? QString() : DBGrid1->text(int(rows_.size()) - 1, Hours);
    appendRow(std::move(row), Edit3->text().trimmed(), {}, QStringLiteral("0"), hours);
}

void TForm27::showRow(int row)
{
    const Row& r = rows_[row];
    DBGrid1->setText(row, Item, r.operation.item);
    DBGrid1->setText(row, Operation, r.operation.operation);
    DBGrid1->setText(row, Price, r.operation.operationId != 0 ? numberText(pay::roundPrice(shiftPrice(r.operation))) : QString());
    const std::optional<double> pay = rowPay(row);
    DBGrid1->setText(row, Pay, pay ? numberText(*pay) : QString());
    DBGrid1->setText(row, Refusal, r.refusal);
    for (int column = 0; column < ColumnCount; ++column) {
        QTableWidgetItem* cell = DBGrid1->item(row, column);
        if (!cell) {
            DBGrid1->setText(row, column, {});
            cell = DBGrid1->item(row, column);
        }
        cell->setBackground(r.refusal.isEmpty() ? QBrush() : QBrush(kRefusedRow));
        cell->setToolTip(r.refusal);
    }
}

// The row's good pieces as typed; nothing while its quantity or rejects is no number.
std::optional<qint64> TForm27::goodPieces(int row) const
{
    const CheckedInput quantity = record_fields::quantity().check(DBGrid1->text(row, Quantity));
    const CheckedInput rejects = record_fields::rejects().check(DBGrid1->text(row, Rejects));
    if (!quantity.accepted() || !rejects.accepted())
        return std::nullopt;
    return quantity.value.toLongLong() - rejects.value.toLongLong();
}

// The row's pay in roubles to the kopeck; nothing without an operation or good pieces.
std::optional<double> TForm27::rowPay(int row) const
{
    const std::optional<qint64> good = goodPieces(row);
    if (rows_[row].operation.operationId == 0 || !good)
        return std::nullopt;
    return kopecks(double(*good) * pay::roundPrice(shiftPrice(rows_[row].operation)));
}

// Good pieces, hours and pay of the rows as typed; a value not yet a number counts nothing.
void TForm27::showSums()
{
    qint64 good = 0, hours = 0;
    double pay = 0;
    for (int row = 0; row < int(rows_.size()); ++row) {
        if (isBlank(row))
            continue;
        const CheckedInput hoursTyped = record_fields::hours().check(DBGrid1->text(row, Hours));
        good += goodPieces(row).value_or(0);
        if (hoursTyped.accepted())
            hours += hoursTyped.value.toLongLong();
        pay += rowPay(row).value_or(0.0);
    }
    Label1->setText(QStringLiteral("Итого: годных %1 шт., %2 ч., %3 р.").arg(good).arg(hours).arg(numberText(kopecks(pay))));
}

// A row nobody has started: no worker and no quantity.
bool TForm27::isBlank(int row) const
{
    return rows_[row].worker.id == 0 && DBGrid1->text(row, Worker).trimmed().isEmpty()
        && DBGrid1->text(row, Quantity).trimmed().isEmpty();
}

bool TForm27::hasUnsavedRows() const
{
    for (int row = 0; row < int(rows_.size()); ++row)
        if (!isBlank(row))
            return true;
    return false;
}

void TForm27::clearRows()
{
    rows_.clear();
    DBGrid1->setRowCount(0);
    appendNewRow();
    DBGrid1->enterRow(0);
}

void TForm27::Button2Click()
{
    if (!DateFrom->acceptTyped())
        return;
    const std::vector<brigade_copy::CopiedRecord> copied = brigade_copy::recordsOf(*DataModule6, DateFrom->date(), shift());
    if (copied.empty()) {
        showError(this, QStringLiteral("В смене за %1 записей нет").arg(DateFrom->date().toString(QStringLiteral("dd.MM.yyyy"))));
        return;
    }
    const bool withQuantities = CheckBox1->isChecked();
    // What was typed and not yet written stays; the copy follows it.
    if (!rows_.empty() && isBlank(int(rows_.size()) - 1)) {
        rows_.pop_back();
        DBGrid1->removeRow(DBGrid1->rowCount() - 1);
    }
    for (const brigade_copy::CopiedRecord& r : copied) {
        const Row row{{r.workerId, r.worker}, {r.itemId, r.operationId, r.basePrice, r.item, r.operation}, {}};
        const QString colour = record_fields::isPaintOperation(description(r.item, r.operation)) ? QString::number(r.colour) : QString();
        appendRow(row, colour, withQuantities ? QString::number(r.quantity) : QString(),
                  withQuantities ? QString::number(r.rejects) : QString(), QString::number(r.hours));
    }
    DBGrid1->setFocus();
    DBGrid1->enterRow(int(rows_.size()) - int(copied.size()));
    showSums();
}

// Why the row cannot be saved as typed, in the record editor's words; empty when it can.
QString TForm27::rowRefusal(int row) const
{
    const auto blank = [&](int column) { return DBGrid1->text(row, column).trimmed().isEmpty(); };
    if (rows_[row].worker.id == 0 || rows_[row].operation.operationId == 0 || blank(Quantity) || blank(Rejects)
        || blank(Hours) || (isPaint(row) && blank(Colour)))
        return record_fields::kAllFieldsMessage;
    const std::pair<int, const InputRule&> numbers[] = {{Quantity, record_fields::quantity()},
                                                        {Rejects, record_fields::rejects()},
                                                        {Colour, record_fields::colour()},
                                                        {Hours, record_fields::hours()}};
    for (const auto& [column, rule] : numbers)
        if (isTyped(row, column))
            if (const CheckedInput typed = rule.check(DBGrid1->text(row, column)); !typed.accepted())
                return typed.refusal;
    return pay::refusal(record(row));
}

pay::JournalRecord TForm27::record(int row) const
{
    const auto number = [&](int column) { return DBGrid1->text(row, column).trimmed().toLongLong(); };
    pay::JournalRecord r;
    r.workerId = rows_[row].worker.id;
    r.itemId = rows_[row].operation.itemId;
    r.operationId = rows_[row].operation.operationId;
    r.date = DateT->date();
    r.shift = shift();
    r.colour = isPaint(row) ? int(number(Colour)) : 0;
    r.quantity = number(Quantity);
    r.rejects = int(number(Rejects));
    r.hours = int(number(Hours));
    r.price = shiftPrice(rows_[row].operation);
    r.entered = seams::today();
    return r;
}

void TForm27::markRefusals(const std::vector<std::pair<int, QString>>& refused)
{
    for (int row = 0; row < int(rows_.size()); ++row)
        rows_[row].refusal.clear();
    for (const auto& [row, refusal] : refused)
        if (rows_[row].refusal.isEmpty())
            rows_[row].refusal = refusal;
    for (int row = 0; row < int(rows_.size()); ++row)
        showRow(row);
    if (refused.empty())
        return;
    DBGrid1->setFocus();
    DBGrid1->setCurrentCell(refused.front().first, Worker);
    showError(this, QStringLiteral("Записи бригады не записаны: отклонено строк — %1.\nСтрока %2: %3")
                        .arg(refused.size())
                        .arg(refused.front().first + 1)
                        .arg(refused.front().second));
}

// Every row through the record editor's checks, then all of them written together.
void TForm27::Button1Click()
{
    if (!DateT->acceptTyped())
        return;
    std::vector<int> filled;
    std::vector<std::pair<int, QString>> refused;
    for (int row = 0; row < int(rows_.size()); ++row) {
        if (isBlank(row))
            continue;
        if (rows_[row].worker.id == 0 || DBGrid1->text(row, Worker) != rows_[row].worker.name)
            if (const std::optional<BrigadeWorker> found = findWorker(DBGrid1->text(row, Worker)))
                rows_[row].worker = *found;
        filled.push_back(row);
        if (const QString refusal = rowRefusal(row); !refusal.isEmpty())
            refused.emplace_back(row, refusal);
    }
    if (filled.empty() || !refused.empty()) {
        markRefusals(refused);
        return;
    }
    std::vector<pay::JournalRecord> records;
    for (int row : filled)
        records.push_back(record(row));
    for (const record_save::RowRefusal& r : record_save::saveAll(*DataModule6, records))
        refused.emplace_back(filled[r.row], r.refusal);
    markRefusals(refused);
    if (!refused.empty())
        return;
    clearRows();
    showSums();
    if (afterSave)
        afterSave();
}

void TForm27::Button3Click()
{
    if (hasUnsavedRows()
        && !seams::messageBoxes().confirm(this, QStringLiteral("Записи бригады не сохранены. Закрыть без записи?"),
                                          QStringLiteral("Бригада")))
        return;
    clearRows();
    QDialog::reject();
}

void TForm27::reject() { Button3->click(); }
