#pragma once

#include "command.h"
#include "dataset.h"
#include "editor_dialog.h"

class LookupComboBox;
class QLineEdit;

// The worker editor: the name and the department, position and role lookups.
class TForm2 : public EditorDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    QLineEdit* Edit1;  // "ФИО"
    LookupComboBox* LCB_department;
    LookupComboBox* LCB_staffpos;
    LookupComboBox* LCB_roles;
    Command cmd_person;
    int PersonId = 0;

    Dataset department;
    Dataset staffpos;
    Dataset roles;

    // Reads the three lookup tables again; the boxes keep their choice.
    void rereadLookups();
    // Change mode: the worker's stored position stands in the position lookup when an entry
    // has that caption, and is kept on saving unless the user picks another entry.
    void showStoredPosition(const QString& stored);
    void Button1Click() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString position() const;
    void prepareStatement(const QString& fio);

    QString storedPosition_;
};

extern TForm2* Form2;
