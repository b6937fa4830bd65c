#include "list_window.h"

#include "controls.h"
#include "filter_expression.h"
#include "handler_guard.h"
#include "seams.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

SearchListWindow::SearchListWindow(Setup setup, QWidget* parent) : QDialog(parent), setup_(std::move(setup))
{
    setObjectName(QLatin1String(setup_.objectName));
    setWindowTitle(setup_.caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    DBGrid1 = new DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->bind(*setup_.dataset, setup_.columns);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->installEventFilter(this);
    Button4 = makeButton(this, "Button4", QStringLiteral("Выход"));

    bottomRow_ = new QHBoxLayout;
    bottomRow_->addWidget(Edit1);
    bottomRow_->addStretch();
    bottomRow_->addWidget(Button4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottomRow_);
    orderTabsAsOnScreen();

    int gridWidth = 0;
    for (const GridColumn& column : setup_.columns)
        gridWidth += column.visible ? (column.width > 0 ? column.width : 100) : 0;
    resize(gridWidth + kGridMargins, 480);

    refocusOnReturn(this, [this] { focusSearchBox(); });

    connectHandler(Edit1, &QLineEdit::textChanged, this, &SearchListWindow::Edit1Change);
    connectHandler(Button4, &QPushButton::clicked, this, &SearchListWindow::Button4Click);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this,
            [this] { runHandler([this] { DBGrid1DblClick(); }, this); });
}

SearchListWindow::Filter SearchListWindow::likeSearch(const char* field, const QString& typed, bool anywhere)
{
    const QString pattern = FilterExpression::prefixPattern(typed);
    return {QLatin1String(field) + QStringLiteral(" like :typed"),
            {{QStringLiteral("typed"), anywhere ? QLatin1Char('%') + pattern : pattern}}};
}

void SearchListWindow::addToBottomRow(QWidget* control)
{
    bottomRow_->insertWidget(bottomInsertAt_++, control);
    orderTabsAsOnScreen();
}

// Tab runs as the controls stand on the screen: the grid, then the bottom row from left
// to right.
void SearchListWindow::orderTabsAsOnScreen()
{
    QWidget* previous = DBGrid1;
    for (int i = 0; i < bottomRow_->count(); ++i) {
        if (QWidget* control = bottomRow_->itemAt(i)->widget()) {
            setTabOrder(previous, control);
            previous = control;
        }
    }
}

void SearchListWindow::Edit1Change()
{
    const Filter search = setup_.searchFilter(Edit1->text());
    if (search.expression.isEmpty()) {
        dataset().setFiltered(false);
    } else {
        dataset().setFilter(search.expression, search.params);
        dataset().setFiltered(true);
    }
    if (dataset().isOpen())
        dataset().first();
}

void SearchListWindow::Button4Click() { QDialog::reject(); }

void SearchListWindow::reject() { Button4->click(); }

void SearchListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    widenToGrid();
    focusSearchBox();
}

// Columns grow to their values: the window grows with them rather than hide one behind
// a scroll bar.
void SearchListWindow::widenToGrid()
{
    const int needed = DBGrid1->horizontalHeader()->length() + kGridMargins;
    if (width() < needed)
        resize(needed, height());
}

void SearchListWindow::focusSearchBox()
{
    if (Edit1->isVisibleTo(this))
        Edit1->setFocus();
}

bool SearchListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return searchKeyDown(key->key(), key->text());
    }
    return QDialog::eventFilter(watched, event);
}

// Up and Down move the list; where the box takes only characters, caret movement and
// Delete go nowhere either. Enter and Escape reach the window's buttons.
bool SearchListWindow::searchKeyDown(int key, const QString& text)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        if (dataset().isOpen())
            key == Qt::Key_Up ? dataset().prior() : dataset().next();
        return true;
    }
    if (!setup_.searchTakesOnlyCharacters)
        return false;
    const bool passes = key == Qt::Key_Backspace || key == Qt::Key_Return || key == Qt::Key_Enter
        || key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab
        || (!text.isEmpty() && text.at(0).isPrint());
    return !passes;
}

// ---- ReferenceListWindow ------------------------------------------------------------

ReferenceListWindow::ReferenceListWindow(Setup setup, QWidget* parent) : SearchListWindow(std::move(setup), parent)
{
    Button1 = makeButton(this, "Button1", QStringLiteral("Добавить"));
    Button2 = makeButton(this, "Button2", QStringLiteral("Изменить"));
    Button3 = makeButton(this, "Button3", QStringLiteral("Удалить"));
    for (QPushButton* button : {Button1, Button2, Button3})
        addToBottomRow(button);
    Button1->setDefault(true);

    connectHandler(Button1, &QPushButton::clicked, this, &ReferenceListWindow::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &ReferenceListWindow::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &ReferenceListWindow::Button3Click);
}

void ReferenceListWindow::setUpForMaintenance()
{
    Tag = 0;
    Button2->setDefault(false);
    Button1->setDefault(true);
    Button2->setText(QStringLiteral("Изменить"));
    Button1->setVisible(true);
    Button3->setVisible(true);
}

void ReferenceListWindow::showForMaintenance()
{
    dataset().open();
    setUpForMaintenance();
    seams::showModal(*this);
    dataset().close();
}

void ReferenceListWindow::setUpAsPicker(int tag)
{
    Tag = tag;
    Button2->setText(QStringLiteral("Выбрать"));
    Button2->setVisible(true);
    Button1->setVisible(false);
    Button3->setVisible(false);
    Button1->setDefault(false);
    Button2->setDefault(true);
    Edit1->setVisible(true);
    Edit1->clear();
}

void ReferenceListWindow::endPicker()
{
    Button2->setDefault(false);
    Button1->setDefault(true);
    Edit1->setVisible(false);
}

void ReferenceListWindow::Button1Click() { addRow(); }

// An empty list has no row to change: the editor would write to no worker, item or
// operation and still look as if it had saved.
void ReferenceListWindow::Button2Click()
{
    if (Tag != 0)
        pick();
    else if (!dataset().isEmpty())
        changeRow();
}

void ReferenceListWindow::Button3Click()
{
    if (!dataset().isEmpty())
        deleteRow();
}

void ReferenceListWindow::DBGrid1DblClick() { Button2Click(); }

void ReferenceListWindow::pick()
{
    if (!dataset().isEmpty() || handsBackFromEmptyList)
        handBack();
    accept();
}
