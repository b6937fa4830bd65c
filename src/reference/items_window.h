#pragma once

#include "dataset.h"
#include "deletions.h"
#include "list_window.h"

#include <optional>

// The items list "Изделия (3)": maintained from the main menu (Tag 0), the item picker of
// the operation editor (Tag 1).
class TForm3 : public ReferenceListWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    Dataset Izdel_Smena;  // the item's journal records since a day of the year 2000
    Dataset ii_oper;      // the item's operations

    // The operation editor's item "..." button.
    void showAsPicker();

protected:
    void addRow() override;
    void changeRow() override;
    void deleteRow() override;
    void handBack() override;

private:
    std::optional<deletions::ItemDeletion> askItemDeletion(qint64 itemId, int operations, int records);
};

extern TForm3* Form3;
