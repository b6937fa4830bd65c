#pragma once

#include <QString>
#include <functional>
#include <QPointer>
#include <initializer_list>
#include <vector>

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
// Controls side by side as one field of a form (a box and its "..." button); the first
// takes the room that is left.
QWidget* fieldRow(QWidget* parent, std::initializer_list<QWidget*> controls);
// Runs `focus` whenever the window becomes active again after another window of the
// program (an editor, a picker, a message) had been active; switching back from another
// program leaves the focus where the user put it.
void refocusOnReturn(QWidget* window, std::function<void()> focus);

// Disables controls for the life of a scope: while a long task lets window messages
// through, the controls that would start it again (or another one) wait for it.
class DisabledWhileBusy {
public:
    explicit DisabledWhileBusy(std::initializer_list<QWidget*> controls);
    ~DisabledWhileBusy();
    DisabledWhileBusy(const DisabledWhileBusy&) = delete;
    DisabledWhileBusy& operator=(const DisabledWhileBusy&) = delete;

private:
    std::vector<QPointer<QWidget>> controls_;
};
// Moves a window so that its centre lies on the centre of another (a dialog opened
// "centred on the main window").
void centreOn(QWidget& window, const QWidget& over);
// Puts a window of its final size in the middle of the desktop it will show on; it goes
// back there whenever it is shown modally.
void centreOnDesktop(QWidget& window);
// The box's text is selected whenever the user enters it, by Tab or by a click, so that
// what is typed next replaces it ("8", not "08").
void selectTextOnFocus(QLineEdit* box);

// Where a dialog goes each time it is shown modally over `owner` (none: over no window of
// the program): the middle of the desktop for one placed there, else the middle of its owner.
void centreForShowing(QWidget& window, const QWidget* owner);
