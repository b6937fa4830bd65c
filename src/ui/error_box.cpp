#include "error_box.h"

#include "seams.h"

void showError(QWidget* parent, const QString& text) { seams::messageBoxes().error(parent, text, QStringLiteral("Ошибка")); }
