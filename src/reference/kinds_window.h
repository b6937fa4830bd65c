#pragma once

#include "list_window.h"

// The operation kinds list "Виды операций (8)": maintained from the main menu (Tag 0), the
// kind picker of the operation editor (any other Tag).
class TForm8 : public ReferenceListWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // The operation editor's kind "..." button.
    void showAsPicker();

protected:
    void addRow() override;
    void changeRow() override;
    void deleteRow() override;
    void handBack() override;
};

extern TForm8* Form8;
