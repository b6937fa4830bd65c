#pragma once

#include <QString>
#include <functional>
#include <initializer_list>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls as the windows create them: each carries its design name as objectName.

// A push button that Enter and Space press while it has the focus, as on any desktop.
// It is never made the default just by taking the focus: the window's own default button
// takes Enter whenever the focus is on a control that is not a button.
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);
// A read-only box takes no focus: the tab order runs over what the user can type in.
QLineEdit* makeEdit(QWidget* parent, const char* name, bool readOnly = false);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QWidget* buddy);
// A dialog's buttons, at the right of their row.
QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> controls);
// Runs `focus` whenever the window becomes active again after another window of the
// program (an editor, a picker, a message) had been active; switching back from another
// program leaves the focus where the user put it.
void refocusOnReturn(QWidget* window, std::function<void()> focus);
