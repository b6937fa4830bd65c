#pragma once

#include "command.h"
#include "dataset.h"
#include "editor_dialog.h"

class LookupComboBox;
class QLineEdit;

// The item editor: the brand, the number kept as the item's mass and the classifier entry.
// Items are written into the goods catalogue.
class TForm7 : public EditorDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "Марка"
    QLineEdit* Edit2;  // "Расценка": a number, not negative, up to 6 decimals
    LookupComboBox* cb_item;
    Dataset item;      // level-2 classifier entries

    // Opens the classifier entries and fills the lookup, which keeps its choice.
    void openClassifier();
    void Button1Click() override;

private:
    bool duplicate(const QString& brand) const;
    void prepareStatement(Command& statement, const QString& brand, const QString& mass) const;
};

extern TForm7* Form7;
