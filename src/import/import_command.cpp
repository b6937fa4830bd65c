#include "import_command.h"

#include "legacy_import.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

namespace {

// Disables the window and holds its timer for a scope.
class WindowBusy {
public:
    WindowBusy(QWidget& window, QTimer& timer) : window_(window), timer_(timer), timerWasActive_(timer.isActive())
    {
        timer_.stop();
        window_.setEnabled(false);
    }
    ~WindowBusy()
    {
        window_.setEnabled(true);
        if (timerWasActive_)
            timer_.start();
    }
    WindowBusy(const WindowBusy&) = delete;
    WindowBusy& operator=(const WindowBusy&) = delete;

private:
    QWidget& window_;
    QTimer& timer_;
    bool timerWasActive_;
};

}  // namespace

void runLegacyImport(Connection& target, QWidget& window, QLabel& progress, QTimer& timer)
{
    WindowBusy busy(window, timer);
    WaitCursor waiting;
    progress.show();
    legacy_import::importAll(target, [&progress](const QString& text) {
        progress.setText(text);
        QApplication::processEvents();
    });
}
