#pragma once

#include "dataset.h"
#include "date_box.h"
#include "excel_export.h"
#include "pay_statement.h"
#include "period_query.h"

#include <QDialog>
#include <functional>

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
    QPushButton* Button7;     // "Расчетные листки": every worker of the period
    QPushButton* Button8;     // "Листок рабочего…": one worker, chosen in the workers list
    QPushButton* Button9;     // "Расчетные листки в Excel"
    QPushButton* Button10;    // "Листок рабочего в Excel…": one worker, chosen in the workers list
    QPushButton* Button11;    // "Журнал изменений": only where the change history is kept
    QPushButton* Button5;     // "Выход"

    Dataset XLS_Rep;  // the production spreadsheet's query

    // Shows the workers list as a picker; it hands the chosen worker's key back below.
    std::function<void()> pickWorker;
    int StatementWorkerId = 0;  // 0: none chosen

    // The period the menu proposes: the calendar month before the one of `today`.
    void presetPreviousMonth(const QDate& today);
    // Opened from the main menu: the previous month preset, shown modally.
    void showFromMenu();

    void Button4Click();
    void Button2Click();
    void Button1Click();
    void Button3Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button5Click();

protected:
    void reject() override;  // Escape

private:
    void buildControls();
    void connectHandlers();
    ProductKindChoice productKind() const;
    // Sets the layout's query to the period (and the product kind chosen, for a report of
    // products), titles the report, prepares and previews it.
    void printReport(PeriodReportWindow& layout, const QString& titlePrefix, bool ofProducts = true);
    // The worker chosen in the workers list; 0 when the list was left without a choice.
    int chosenWorker();
    // The pay statements of the period, every worker's (key 0) or one's; the user is told
    // when the period holds none.
    std::vector<pay_statement::Statement> statementsOf(int workerKey);
    // The statements in the print preview, or written to a workbook.
    void printStatements(int workerKey);
    void exportStatements(int workerKey);

    ExcelExport excel_;
};

extern TForm18* Form18;
