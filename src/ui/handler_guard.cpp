#include "handler_guard.h"

#include "database_error.h"
#include "seams.h"

void showDatabaseError(const DatabaseError& error, QWidget* parent)
{
    seams::messageBoxes().error(parent, error.text(), QStringLiteral("Ошибка"));
}

void runHandler(const std::function<void()>& handler, QWidget* parent)
{
    try {
        handler();
    } catch (const DatabaseError& error) {
        showDatabaseError(error, parent);
    }
}
