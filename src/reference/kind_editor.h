#pragma once

#include "editor_dialog.h"

class QLineEdit;

// The operation kind editor; it writes through the shared dataset Vid_oper.
class TForm9 : public EditorDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Операция"

    void Button1Click() override;

private:
    bool duplicate(const QString& name) const;
};

extern TForm9* Form9;
