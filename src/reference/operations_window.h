#pragma once

#include "dataset.h"
#include "reports/excel_export.h"
#include "list_window.h"

class QCheckBox;

// An operation as the operations picker hands it to the shift record editor.
struct PickedOperation {
    qint64 itemId = 0;  // item keys run to 15 digits
    int operationId = 0;
    int productKind = 0;
    double basePrice = 0;  // the lowest norm price
    double price = 0;      // for the journal's shift and day (pay::shiftPrice)
    QString text;          // "brand; kind; product kind"
};

// The operations list "Операции" with their lowest norm price and number of norms:
// maintained from the main menu (Tag 0), the operation picker of the shift record editor
// (any other Tag).
class TForm4 : public ReferenceListWindow {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QPushButton* Button5;  // "Excel", the price list
    QCheckBox* CheckBox1;  // "Цены": a double click opens the norms
    Dataset XLS_Rep;       // the price list, every operation

    // The editor that picks operations here.
    using OperationReceiver = std::function<void(const PickedOperation&)>;
    void setReceiver(OperationReceiver receiver) { receiver_ = std::move(receiver); }

    // The shift record editor's operation "..." button: the list opens on this operation
    // (on the first row for 0); the pick is priced for the record's day-off mark and shift.
    void showAsPicker(int operationId, bool dayOff, int shift);

    void DBGrid1DblClick() override;
    void Button5Click();

protected:
    void addRow() override;
    void changeRow() override;
    void deleteRow() override;
    void handBack() override;

private:
    void showNorms(int operationId);
    QString pickedText() const;

    OperationReceiver receiver_;
    bool pickDayOff_ = false;
    int pickShift_ = 1;
    ExcelExport excel_;
};

extern TForm4* Form4;
