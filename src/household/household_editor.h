#pragma once

#include "dataset.h"
#include "editor_dialog.h"

#include <functional>

class Command;
class FieldBox;
class LookupComboBox;
class QLabel;
class QLineEdit;

// The editor of one household-work entry "Хоз. работы/среднесдельная (24)": the worker,
// the nomenclature entry, the work kind (7777 household works, 7778 average piece rate)
// with its hourly price, and the hours. Tag 0 adds an entry, any other value changes the
// household journal's current one.
class TForm24 : public EditorDialog {
    Q_OBJECT
public:
    explicit TForm24(QWidget* parent = nullptr);

    bool adding() const override { return Tag == 0; }

    // The chosen nomenclature entry and worker; 0 while none is chosen.
    qint64 NomId = 0;
    int WorkerId = 0;
    // The entry being changed as the journal read it: its key, row version (xmin) and date;
    // for a new entry, the journal's date.
    qint64 EntryId = 0;
    QString EntryVersion;
    QDate EntryDate;

    // The workers list and the nomenclature picker shown as pickers: they fill Edit1 and
    // WorkerId, Edit2 and NomId, and return when the picker closes. Left empty, the "..."
    // buttons pick nothing.
    std::function<void()> pickWorker;
    std::function<void()> pickNomenclature;

    // One row per norm row of an operation of the two household kinds, with price × hours.
    Dataset type_work;

    QLineEdit* Edit1;       // "ФИО", filled by the workers picker
    QPushButton* Button3;   // "..." for the worker
    QLineEdit* Edit2;       // "Номенклатура", filled by the nomenclature picker
    QPushButton* Button4;   // "..." for the nomenclature entry
    LookupComboBox* cb_type_work;
    QLineEdit* Edit6;       // hours
    QLabel* Label1;         // "ч.    Цена"
    FieldBox* DBEdit1;      // the price of the chosen kind
    QLabel* Label2;         // "р.    Сумма"
    FieldBox* DBEdit2;      // price × hours
    QPushButton* Button6;   // "Выход", the cancel button

    // The household journal's "Добавить" and "Изменить": the editor set up for a new
    // entry of the journal's date and shift or for the journal's current entry, shown, and
    // its work kinds closed again. Each returns whether the journal is to be read again:
    // the entry was saved, or found changed by another workstation.
    bool showToAdd(const QDate& date, int shift);
    bool showToChange(const Dataset& entry);

    void Button1Click() override;
    void Button3Click();
    void Button4Click();
    void Edit6Change();
    void cb_type_workChange();

private:
    void buildControls();
    void layOutControls();
    void prepare(int tag, const QString& hours, qint64 workKind);
    bool showAndClose();
    bool validate();
    void prepareStatement(Command& statement, const QString& hours) const;
    QString priceText() const;

    int shift_ = 1;  // of a new entry
    bool reRead_ = false;
};

extern TForm24* Form24;
