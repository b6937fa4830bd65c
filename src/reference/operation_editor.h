#pragma once

#include "editor_dialog.h"

#include <QVariantMap>

class QComboBox;
class QLineEdit;
class QPushButton;

// The operation editor: an item and an operation kind, both chosen from their lists, and
// the product kind. An operation is unique per item, kind and product kind.
class TForm10 : public EditorDialog {
    Q_OBJECT
public:
    explicit TForm10(QWidget* parent = nullptr);

    QLineEdit* Edit1;        // "Марка изделия", filled by the items picker
    QLineEdit* Edit2;        // "Операция", filled by the operation kinds picker
    QPushButton* Button3;    // "..." for the item
    QPushButton* Button4;    // "..." for the kind
    QComboBox* ComboBox1;    // "Вид": 0 finished goods, 1 blanks
    qint64 ItemId = 0;  // item keys run to 15 digits
    int KindId = 0;
    // The operation an add has just written (or found still without norms), 0 otherwise.
    int AddedOperationId = 0;

    void Button1Click() override;
    void Button3Click();
    void Button4Click();

private:
    // The kind, product kind and item of the operation as the dialog shows them.
    QVariantMap sameParameters() const;
    int operationWithoutNorms() const;
    void add();
    void change();
};

extern TForm10* Form10;
