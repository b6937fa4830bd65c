#pragma once

#include "app_fixture.h"
#include "list_window.h"

#include <QStringList>

class QAbstractItemView;
class QAction;

// What a list window shows and how a test drives it.
namespace list_test {

// The texts of one grid column, top to bottom.
QStringList column(SearchListWindow& window, int column = 0);
// The text of the current row's cell in this column.
QString current(SearchListWindow& window, int column = 0);
// Types into the search box as a user would, one key at a time.
void type(SearchListWindow& window, const QString& text);
// A user's double click on a row of a grid, on its viewport: the first click selects it.
// On an empty grid the click lands where the row would stand.
void doubleClickRow(QAbstractItemView& grid, int row);
// The same on the row of the list's current record.
void doubleClickCurrentRow(SearchListWindow& window);
// A modal action that shows the window, runs `act` on it and closes it as it stands.
ModalAction whileShown(std::function<void(QDialog&)> act);

// A modal action that shows the window, makes it the active window, runs `act` on it and
// closes it as it stands.
ModalAction whileActive(std::function<void(QDialog&)> act);
// Makes the window the active one again, as closing a window over it does.
void activateAgain(QWidget& window);

// Triggers a menu item of the journal window whose list is shown while `act` runs.
void throughMenu(FakeSeams& fakes, QAction* item, std::function<void()> act);

}  // namespace list_test
