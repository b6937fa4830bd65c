#pragma once

#include "journal_record.h"

#include <QDialog>
#include <functional>
#include <optional>

class Dataset;
class DateBox;
class InputRule;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

// The dialog in which one journal record is entered ("Добавить") or changed
// ("Изменить"). The record's shift is always the journal's current shift.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(TForm1& journal, QWidget* parent = nullptr);

    // Filled by the pickers and by the change set-up.
    int WorkerId = 0;
    int ItemId = 0;
    int OperId = 0;
    int ProductKind = 0;
    double Price = 0.0;  // final unit price, written to cena
    // The picked operation's lowest norm price, shown in "Цена база"; none when the
    // record's operation has no norm left.
    std::optional<double> BasePrice;
    int Tag = 0;         // 1 add, 2 change
    // The row version (xmin) of the record being changed, as the journal read it.
    QString RecordVersion;

    // The workers list and the operations list shown as pickers. Each fills the
    // fields and members above (the worker: Edit1 and WorkerId; the operation: Edit2,
    // ItemId, OperId, ProductKind, Price and BasePrice) and returns when the list closes.
    // The dialog opens Workers around pickWorker and positions Oper before
    // pickOperation; left empty, the "..." buttons pick nothing.
    std::function<void()> pickWorker;
    std::function<void()> pickOperation;

    QGroupBox* GroupBox1;  // "Закрыто мастером"
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLineEdit* Edit1;  // worker
    QPushButton* Button3;
    QLineEdit* Edit2;  // operation
    QPushButton* Button4;
    QLineEdit* Edit3;  // quantity
    QLineEdit* Edit6;  // hours
    QLineEdit* Edit5;  // colour
    DateBox* DTimeP;
    QLineEdit* Edit4;  // rejects
    QLineEdit* Edit8;  // base price
    QLineEdit* Edit7;  // final price
    QLineEdit* Edit9;  // sum
    QCheckBox* CheckBox1;
    QPushButton* Button1;  // "Запись"
    QPushButton* Button2;  // "Отмена"

    // Set-ups of the journal's "Добавить" and "Изменить"; each shows the dialog.
    void showToAdd();
    void showToChange();

    void Button3Click();
    void Button4Click();
    void Edit6Exit();
    void Button1Click();
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void prepareNumberBoxes();
    const InputRule& ruleOf(const QLineEdit* edit) const;
    // The checked value of a number box; throws InputRefused naming its field.
    QString typedValue(const QLineEdit* edit) const;
    void createLabels();
    void layOutControls();
    void setFieldTabOrder();
    void connectHandlers();
    void fillFromJournalRow(const Dataset& journal);
    void showBasePriceOf(int operationId);
    void showBasePrice();
    bool isPaintOperation() const;
    void applyPaintRule();
    bool requiredFieldMissing() const;
    bool validate();
    pay::JournalRecord record(const Dataset& journal) const;
    void clearFields();

    TForm1& journal_;
};

extern TForm11* Form11;

// A number as the user reads it: up to 15 significant digits, the locale's separator.
QString generalNumber(double value);
