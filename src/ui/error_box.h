#pragma once

#include <QString>

class QWidget;

// The program's error box: the text under the caption "Ошибка", through the message-box seam.
void showError(QWidget* parent, const QString& text);
