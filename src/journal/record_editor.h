#pragma once

#include "journal_record.h"

#include <QDate>
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

// The record being changed, as the journal shows it.
struct ShownRecord {
    qint64 id = 0;
    QString version;  // the row version (xmin) as the journal read it
    int workerId = 0;
    qint64 itemId = 0;
    int operationId = 0;
    QString worker;     // the worker's name
    QString operation;  // "brand; kind; product kind"
    QString quantity;
    QString rejects;
    QString colour;
    int hours = 0;
    double price = 0.0;
    QDate date;
};
// The journal's current record as the editor shows it.
ShownRecord shownRecordOf(const Dataset& journal);

// What the editor opens with: the journal's shift, date and day-off mark, and the record
// being changed (none: a new record is entered).
struct RecordEditorInput {
    int shift = 1;
    QDate date;
    bool dayOff = false;
    std::optional<ShownRecord> changing;
};

// How the editor closed: `saved` holds what was written. The journal re-reads when the
// record was saved or found changed by another workstation; a cancel leaves it as it was.
struct RecordEditorResult {
    bool reRead = false;
    std::optional<pay::JournalRecord> saved;
};

// The dialog in which one journal record is entered ("Добавить") or changed
// ("Изменить"). The record's shift is always the journal's current shift.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    // Filled by the pickers and by the change set-up.
    int WorkerId = 0;
    qint64 ItemId = 0;  // item keys run to 15 digits
    int OperId = 0;
    int ProductKind = 0;
    double Price = 0.0;  // final unit price, written to cena
    // The picked operation's lowest norm price, shown in "Цена база"; none when the
    // record's operation has no norm left.
    std::optional<double> BasePrice;
    int Tag = 0;         // 1 add, 2 change

    // The workers list and the operations list shown as pickers. Each fills the
    // fields and members above (the worker: Edit1 and WorkerId; the operation: Edit2,
    // ItemId, OperId, ProductKind, Price and BasePrice) and returns when the list closes.
    // The dialog opens Workers around pickWorker and positions Oper before
    // pickOperation, which prices the pick for the record's day-off mark and shift; left
    // empty, the "..." buttons pick nothing.
    std::function<void()> pickWorker;
    std::function<void(bool dayOff, int shift)> pickOperation;

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

    // Shows the dialog for a new record or for the record being changed.
    RecordEditorResult edit(const RecordEditorInput& input);

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
    void showToAdd();
    void showToChange(const ShownRecord& shown);
    void showBasePriceOf(int operationId);
    void showBasePrice();
    bool isPaintOperation() const;
    void applyPaintRule();
    bool requiredFieldMissing() const;
    bool validate();
    pay::JournalRecord record() const;
    void clearFields();

    RecordEditorInput input_;
    RecordEditorResult result_;
};

extern TForm11* Form11;
