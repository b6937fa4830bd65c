#pragma once

#include "access_roles.h"
#include "dataset.h"

#include <QDialog>
#include <optional>

class DataGrid;
class DateBox;
class MonthLockView;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QShortcut;
class QTimer;
struct ShownRecord;

// The journal window "Табель": the records of one date and shift with each worker's
// pay, the day-off mark, and the way to every other screen.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Members other windows read.
    int CurrentShift = 1;
    Dataset* CurrentShiftQuery = nullptr;
    QString UserCode;
    // The role the login gave: from the access code, or from the person's group.
    std::optional<Role> UserRole;
    int BuildDate = 0;
    int BuildTime = 0;

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    DateBox* DateT;
    QCheckBox* CBox1;
    DataGrid* DBGrid2;
    QPushButton* Button1;  // "Добавить"
    QPushButton* Button9;  // "Бригада": enabled exactly when "Добавить" is
    QPushButton* Button2;  // "Изменить"
    QPushButton* Button3;  // "Удалить"
    QPushButton* Button8;  // "Обновить"
    QPushButton* Button5;  // "Хоз. работы"
    QPushButton* Button4;  // "Выход"
    QLabel* Label1;        // progress of the legacy import, hidden until it runs
    // The closed month of the date shown; it enables the writing buttons, the role's rules
    // deny through it.
    MonthLockView* MonthLock;

    QMenuBar* MainMenu1;
    QMenu* N2;        // "Справочники"
    QAction* N3;      // "Рабочие"
    QAction* N4;      // "Изделия"
    QAction* N5;      // "Цены"
    QAction* N6;      // "Операции"
    QAction* N7;      // "Внеурочное"
    QAction* N11;     // "Табель по времени"
    QMenu* N8;        // "Отчеты"
    QAction* N9;      // "Сводные отчеты"
    QAction* N10;     // "Выход"
    QAction* N12;     // "Импорт", hidden
    QAction* N13;     // "История записи", with the change history installed; also in the grid's menu
    // Ctrl+Shift+F12 runs "Импорт"; enabled by the full-access login only.
    QShortcut* ImportShortcut;

    QTimer* Timer1;   // the 30-second version check
    Dataset ver;      // the version stamp table

    // Points CurrentShiftQuery at the shift query of CurrentShift and returns it.
    Dataset& selectCurrentShiftQuery();

    void FormActivate();
    void DateTCloseUp();
    void CBox1Click();
    void RadioButtonClick(int shift);
    void Button8Click();
    void Button5Click();
    void Button4Click();
    void N3Click();  // "Рабочие"
    void N4Click();  // "Изделия"
    void N5Click();  // "Цены"
    void N6Click();  // "Операции"
    void N11Click();
    void N12Click();  // "Импорт"
    void N9Click();   // "Сводные отчеты"
    void Timer1Timer();
    void Button1Click();
    void Button9Click();
    void Button2Click();
    void Button3Click();
    void DBGrid2DblClick();
    void N13Click();  // "История записи"

    QRadioButton* shiftSelector(int shift) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;  // Escape

private:
    void buildControls();
    void buildMenu();
    void connectHandlers();
    void closeShiftQueries();
    void openShiftQueries();
    void markWeekend();
    // The line and the writing buttons for the month of the date the journal was read for.
    void showMonthLock();
    void showLoadedDate(Qt::FocusReason reason);
    void paintShiftSelectors();
    void preselectTimesheetMonth();
    // "Бригада" writes records as "Добавить" does: whatever enables or disables the one does
    // the same to the other.
    void followAddButton();
    // Opens the record editor for a new record or the record being changed.
    void editRecord(const std::optional<ShownRecord>& changing);

    QWidget* calendarPopup_ = nullptr;
    bool checkingVersion_ = false;
    bool activated_ = false;
    bool connectionLossShown_ = false;  // "no connection" shown by the version check, not yet back
};

extern TForm1* Form1;

// The journal grid's columns.
std::vector<struct GridColumn> journalColumns();
