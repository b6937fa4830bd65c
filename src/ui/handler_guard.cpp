#include "handler_guard.h"

#include "database_error.h"
#include "input_rules.h"
#include "seams.h"

void showDatabaseError(const DatabaseError& error, QWidget* parent)
{
    seams::messageBoxes().error(parent, QStringLiteral("Ошибка базы данных\n") + error.text().trimmed(),
                                QStringLiteral("Ошибка"));
}

void runHandler(const std::function<void()>& handler, QWidget* parent)
{
    try {
        handler();
    } catch (const DatabaseError& error) {
        showDatabaseError(error, parent);
    } catch (const InputRefused& refused) {
        seams::messageBoxes().error(parent, refused.message(), QStringLiteral("Ошибка"));
    }
}
