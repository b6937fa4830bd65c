#pragma once

#include "dataset.h"
#include "date_box.h"

#include <QDialog>

class DataGrid;
class MonthLockView;
class QPushButton;

// The household-work journal "Хоз. работы (25)": the entries of one date, each worker's
// hours of household works or at the average piece rate with their hourly price.
class TForm25 : public QDialog {
    Q_OBJECT
public:
    explicit TForm25(QWidget* parent = nullptr);

    // The shift given to new entries.
    int EntryShift = 1;

    // The entries of the date "d_date" whose worker and nomenclature entry exist.
    Dataset fatigue;

    DateBox* DTPcker1;
    DataGrid* DBGrid1;
    QPushButton* Button5;  // "Добавить"
    QPushButton* Button6;  // "Изменить"
    QPushButton* Button7;  // "Удалить"
    QPushButton* Button8;  // "Выход"
    // The closed month of the date shown; it enables the writing buttons.
    MonthLockView* MonthLock;

    void FormActivate();
    void DTPcker1Change();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void DBGrid1DblClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;  // Escape

private:
    void buildControls();
    void openDate();
};

extern TForm25* Form25;
