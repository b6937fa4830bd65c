#pragma once

#include <QDate>
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class MonthLockView;
class DateBox;
class EntryGrid;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace pay {
struct JournalRecord;
}

// A worker as the brigade's rows take him.
struct BrigadeWorker {
    int id = 0;
    QString name;
};

// An operation as the brigade's rows take it: its item and its lowest norm price.
struct BrigadeOperation {
    qint64 itemId = 0;
    int operationId = 0;
    double basePrice = 0;
    QString item;       // the brand
    QString operation;  // "kind; product kind"
};

// What the window opens with: the journal's date, current shift and day-off mark.
struct BrigadeInput {
    QDate date;
    int shift = 1;
    bool dayOff = false;
};

// The brigade window "Бригада": a brigade's shift entered as one grid from the keyboard,
// started empty or from the records of an earlier shift, and written all together through
// the record editor's rules, or not at all.
class TForm27 : public QDialog {
    Q_OBJECT
public:
    explicit TForm27(QWidget* parent = nullptr);

    // The workers list and the operations list shown as pickers; nothing when the list was
    // left without a choice. The operations list opens on the operation given (0: the first).
    std::function<std::optional<BrigadeWorker>()> pickWorker;
    std::function<std::optional<BrigadeOperation>(int operationId, bool dayOff, int shift)> pickOperation;
    // Runs after a grid was written: the journal reads its records again.
    std::function<void()> afterSave;

    DateBox* DateT;
    QComboBox* ComboBox1;  // the shift
    QCheckBox* CBox1;      // "Выходной"
    QLineEdit* Edit1;      // the operation new rows take
    QPushButton* Button4;  // "...": picks it
    QLineEdit* Edit2;      // its price for the date, shift and day off
    QLineEdit* Edit3;      // the colour new rows take, when the operation paints
    EntryGrid* DBGrid1;
    QListWidget* ListBox1;  // the workers whose name starts with what is typed
    QLabel* Label1;         // the sums
    QPushButton* Button2;   // "Копировать с…"
    DateBox* DateFrom;
    QCheckBox* CheckBox1;   // "с количеством"
    QPushButton* Button1;   // "Записать"
    QPushButton* Button3;   // "Выход"
    MonthLockView* MonthLock;  // "Записать" waits while the date's month is closed

    // Shows the window modally.
    void showFor(const BrigadeInput& input);

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // The grid's columns.
    enum Column { Worker, Item, Operation, Colour, Quantity, Rejects, Hours, Price, Pay, Refusal, ColumnCount };

protected:
    void reject() override;  // Escape and the window's close button
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        BrigadeWorker worker;
        BrigadeOperation operation;
        QString refusal;
    };

    void buildControls();
    void layOutControls();
    void connectHandlers();
    void readWorkers();
    int shift() const;
    double shiftPrice(const BrigadeOperation& operation) const;
    bool isPaint(int row) const;
    bool isTyped(int row, int column) const;
    bool takeTyped(int row, int column, const QString& typed);
    void typing(int row, int column, const QString& typed);
    void rowDone(int row);
    void removeRow(int row);
    void pickCell(int row, int column);
    void showDefaults();
    void proposeSourceDate();
    void showMonthLock();
    void appendRow(Row row, const QString& colour, const QString& quantity, const QString& rejects, const QString& hours);
    void appendNewRow();
    void showRow(int row);
    void showSums();
    std::optional<qint64> goodPieces(int row) const;
    std::optional<double> rowPay(int row) const;
    void narrowWorkers(const QString& typed);
    std::optional<BrigadeWorker> findWorker(const QString& typed) const;
    bool isBlank(int row) const;
    bool hasUnsavedRows() const;
    void clearRows();
    QString rowRefusal(int row) const;
    pay::JournalRecord record(int row) const;
    void markRefusals(const std::vector<std::pair<int, QString>>& refused);

    std::vector<Row> rows_;
    std::vector<BrigadeWorker> workers_;  // by name
    std::optional<BrigadeOperation> defaultOperation_;
};

extern TForm27* Form27;
