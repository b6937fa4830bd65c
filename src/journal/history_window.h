#pragma once

#include "dataset.h"

#include <QDialog>

class DataGrid;
class QLineEdit;
class QPushButton;

// "История записи": every version of one journal record from the change history, with
// who, when and what changed. With full access a deleted record is saved again from its
// last version, by the rules of every save.
class TForm28 : public QDialog {
    Q_OBJECT
public:
    explicit TForm28(QWidget* parent = nullptr);

    // Full access: "Восстановить" is offered for a deleted record.
    bool RestoreAllowed = false;

    Dataset History;

    QLineEdit* Edit1;      // the record's number
    QPushButton* Button3;  // "Показать"
    DataGrid* DBGrid1;
    QPushButton* Button1;  // "Восстановить"
    QPushButton* Button2;  // "Закрыть"

    // Shows the history of the record (0: none yet; the user types a number) modally; true
    // when a deleted record was restored.
    bool showRecord(qint64 id);

    void Button3Click();
    void Button1Click();
    void Button2Click();

private:
    void buildControls();
    qint64 recordId() const;
    // The history of the record typed; "Восстановить" only after its deletion.
    void load();
};

extern TForm28* Form28;
