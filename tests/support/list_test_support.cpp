#include "list_test_support.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace list_test {

QStringList column(SearchListWindow& window, int column)
{
    QAbstractItemModelTester tester(window.DBGrid1->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    return columnTexts(*window.DBGrid1->model(), column);
}

QString current(SearchListWindow& window, int column)
{
    const QModelIndex index = window.DBGrid1->currentIndex();
    return window.DBGrid1->model()->index(index.row(), column).data().toString();
}

void type(SearchListWindow& window, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(window.Edit1, &press);
    }
}

void doubleClickRow(QAbstractItemView& grid, int row)
{
    QWidget* viewport = grid.viewport();
    const QPoint at = grid.visualRect(grid.model()->index(row, 0)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

void doubleClickCurrentRow(SearchListWindow& window) { doubleClickRow(*window.DBGrid1, window.dataset().recNo() - 1); }

ModalAction whileShown(std::function<void(QDialog&)> act)
{
    return [act](QDialog& dialog) {
        dialog.show();
        act(dialog);
        const int result = dialog.result();
        dialog.hide();
        return result;
    };
}

ModalAction whileActive(std::function<void(QDialog&)> act)
{
    return whileShown([act](QDialog& dialog) {
        activateAgain(dialog);
        act(dialog);
    });
}

void activateAgain(QWidget& window)
{
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

void throughMenu(FakeSeams& fakes, QAction* item, std::function<void()> act)
{
    fakes.modalActions.push_back(whileShown([act](QDialog&) { act(); }));
    item->trigger();
}

}  // namespace list_test
