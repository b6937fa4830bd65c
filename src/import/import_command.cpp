#include "import_command.h"

#include "legacy_import.h"
#include "seams.h"
#include "wait_cursor.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

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

void importWhileBusy(Connection& target, QWidget& window, QLabel& progress, QTimer& timer)
{
    WindowBusy busy(window, timer);
    WaitCursor waiting;
    progress.show();
    legacy_import::importAll(target, [&progress](const QString& text) {
        progress.setText(text);
        QApplication::processEvents();
    });
}

// The problems the message lists; the file holds them all.
constexpr int kListed = 200;

struct ProblemFile {
    QString path;
    QString error;  // empty when the file was written
};

// The whole list in a new text file in the temporary folder, where the spreadsheet exports
// go too; its name tells what it holds and when it was made.
ProblemFile writeProblemFile(const legacy_import::ImportRefused& refused)
{
    const QString stamp = seams::now().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QTemporaryFile file(
        QDir(QDir::tempPath()).filePath(QStringLiteral("Табель, импорт не выполнен %1 XXXXXX.txt").arg(stamp)));
    file.setAutoRemove(false);
    if (!file.open())
        return {{}, file.errorString()};
    QByteArray text = refused.text().toUtf8() + "\n\n";
    for (const QString& problem : refused.problems())
        text += problem.toUtf8() + '\n';
    const QString path = QDir::toNativeSeparators(file.fileName());
    if (file.write(text) != text.size() || !file.flush())
        return {path, QStringLiteral("%1: %2").arg(path, file.errorString())};
    return {path, {}};
}

QString problemsText(const legacy_import::ImportRefused& refused, const ProblemFile& file)
{
    QString text = refused.text() + QLatin1Char('\n');
    text += file.error.isEmpty() ? QStringLiteral("Полный список записан в файл %1").arg(file.path)
                                 : QStringLiteral("Полный список не удалось записать в файл: %1").arg(file.error);
    text += QStringLiteral("\n\n");
    const auto& problems = refused.problems();
    for (size_t i = 0; i < problems.size() && i < size_t(kListed); ++i)
        text += problems[i] + QLatin1Char('\n');
    if (problems.size() > size_t(kListed))
        text += QStringLiteral("… и ещё %1 (весь список в файле)\n").arg(problems.size() - size_t(kListed));
    return text;
}

// The problems in a window the user can scroll, select and copy from.
void showProblems(QWidget& parent, const QString& text)
{
    QDialog dialog(&parent);
    dialog.setObjectName(QStringLiteral("ImportProblems"));
    dialog.setWindowTitle(QStringLiteral("Импорт не выполнен"));
    auto* list = new QPlainTextEdit(text, &dialog);
    list->setObjectName(QStringLiteral("ProblemList"));
    list->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(760, 460);
    seams::showModal(dialog);
}

const QString kNotDone = QStringLiteral("Импорт не выполнен");

}  // namespace

void runLegacyImport(Connection& target, QWidget& window, QLabel& progress, QTimer& timer)
{
    try {
        importWhileBusy(target, window, progress, timer);
    } catch (const legacy_import::ImportRefused& refused) {
        progress.setText(kNotDone);
        showProblems(window, problemsText(refused, writeProblemFile(refused)));
        return;
    } catch (const DatabaseError&) {
        progress.setText(kNotDone);
        throw;
    }
    progress.setText(QStringLiteral("Импорт выполнен"));
}
