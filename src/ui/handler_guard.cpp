#include "handler_guard.h"

#include "database_error.h"
#include "error_box.h"
#include "input_rules.h"
#include "internal_error.h"

void showDatabaseError(const DatabaseError& error, QWidget* parent)
{
    // The program's own messages (a lost connection, another workstation's change) stand
    // alone; the server's text comes under a Russian first line.
    const QString text = error.isOwnMessage() ? error.text()
                                              : QStringLiteral("Ошибка базы данных\n") + error.text().trimmed();
    showError(parent, text);
}

void showInternalError(const InternalError& error, QWidget* parent)
{
    showError(parent, QStringLiteral("Внутренняя ошибка программы: ") + error.text());
}

void runHandler(const std::function<void()>& handler, QWidget* parent)
{
    try {
        handler();
    } catch (const DatabaseError& error) {
        showDatabaseError(error, parent);
    } catch (const InternalError& error) {
        showInternalError(error, parent);
    } catch (const InputRefused& refused) {
        showError(parent, refused.message());
    }
}
