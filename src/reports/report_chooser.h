#pragma once

#include "dataset.h"
#include "date_box.h"
#include "excel_export.h"
#include "period_query.h"

#include <QDialog>

class PeriodReportWindow;
class QGroupBox;
class QLabel;
class QPushButton;
class RadioGroup;

// The report chooser "Отчеты (8)": a period and a product kind, then one of the four
// printed period reports in the print preview, or the production spreadsheet.
class TForm18 : public QDialog {
    Q_OBJECT
public:
    explicit TForm18(QWidget* parent = nullptr);

    RadioGroup* RadioGroup1;  // "Вид продукции": "Все", "Готовая продукция", "Заготовки"
    QGroupBox* GroupBox1;     // "Период отбора"
    QLabel* Label1;           // "с"
    QLabel* Label2;           // "по"
    DateBox* DTPicker1;       // from, inclusive
    DateBox* DTPicker2;       // to, exclusive
    QPushButton* Button4;     // "Отчет по рабочим"
    QPushButton* Button2;     // "Отчет по продукции"
    QPushButton* Button1;     // "Детальный отчет по рабочим"
    QPushButton* Button3;     // "Детальный отчет по продукции"
    QPushButton* Button6;     // "Excel (k из N)"
    QPushButton* Button5;     // "Выход"

    Dataset XLS_Rep;  // the production spreadsheet's query

    // The period the menu proposes: the calendar month before the one of `today`.
    void presetPreviousMonth(const QDate& today);
    // Opened from the main menu: the previous month preset, shown modally.
    void showFromMenu();

    void Button4Click();
    void Button2Click();
    void Button1Click();
    void Button3Click();
    void Button6Click();
    void Button5Click();

protected:
    void reject() override;  // Escape

private:
    void buildControls();
    void connectHandlers();
    ProductKindChoice productKind() const;
    // Sets the layout's query to the period, titles the report, prepares and previews it.
    void printReport(PeriodReportWindow& layout, const QString& titlePrefix);

    ExcelExport excel_;
};

extern TForm18* Form18;
