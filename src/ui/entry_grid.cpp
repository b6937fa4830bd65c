#include "entry_grid.h"

#include <QHeaderView>
#include <QKeyEvent>

EntryGrid::EntryGrid(QWidget* parent, const char* name, const QStringList& titles) : QTableWidget(0, titles.size(), parent)
{
    setObjectName(QLatin1String(name));
    setHorizontalHeaderLabels(titles);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(this, &QTableWidget::currentCellChanged, this, [this] { fresh_ = true; });
}

QString EntryGrid::text(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void EntryGrid::setText(int row, int column, const QString& text)
{
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(text);
}

void EntryGrid::enterRow(int row)
{
    const int first = nextTypedColumn(row, -1);
    int column = first;
    while (column >= 0 && !text(row, column).trimmed().isEmpty())
        column = nextTypedColumn(row, column);
    setCurrentCell(row, column >= 0 ? column : std::max(first, 0));
    fresh_ = true;
}

int EntryGrid::nextTypedColumn(int row, int after) const
{
    for (int column = after + 1; column < columnCount(); ++column)
        if (isTyped && isTyped(row, column))
            return column;
    return -1;
}

// The grid's keys are its own, whatever shortcuts its window has for them.
bool EntryGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F4 || key == Qt::Key_Delete) {
            event->accept();
            return true;
        }
    }
    return QTableWidget::event(event);
}

void EntryGrid::keyPressEvent(QKeyEvent* event)
{
    const int row = currentRow();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row >= 0)
            takeAndMoveOn();
        return;
    case Qt::Key_Delete:
        if (row >= 0 && deleteRow)
            deleteRow(row);
        return;
    case Qt::Key_F4:
        if (row >= 0 && pickCell)
            pickCell(row, currentColumn());
        return;
    case Qt::Key_Backspace:
        backspace();
        return;
    default:
        break;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && !event->text().isEmpty() && event->text().at(0).isPrint() && typeInto(event->text()))
        return;
    QTableWidget::keyPressEvent(event);
}

bool EntryGrid::typeInto(const QString& typed)
{
    const int row = currentRow(), column = currentColumn();
    if (row < 0 || !isTyped || !isTyped(row, column))
        return false;
    const QString now = (fresh_ ? QString() : text(row, column)) + typed;
    fresh_ = false;
    setText(row, column, now);
    if (typing)
        typing(row, column, now);
    return true;
}

void EntryGrid::backspace()
{
    const int row = currentRow(), column = currentColumn();
    if (row < 0 || !isTyped || !isTyped(row, column))
        return;
    const QString now = fresh_ ? QString() : text(row, column).chopped(std::min<qsizetype>(1, text(row, column).size()));
    fresh_ = false;
    setText(row, column, now);
    if (typing)
        typing(row, column, now);
}

void EntryGrid::takeAndMoveOn()
{
    const int row = currentRow(), column = currentColumn();
    if (isTyped && isTyped(row, column) && takeTyped && !takeTyped(row, column, text(row, column)))
        return;
    const int next = nextTypedColumn(row, column);
    if (next >= 0)
        setCurrentCell(row, next);
    else if (rowDone)
        rowDone(row);
    fresh_ = true;
}
