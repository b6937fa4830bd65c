#pragma once

#include "data_grid.h"

#include <QDialog>
#include <QVariantMap>
#include <functional>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

// A list over one of the shared datasets with a search box under it: typing narrows the
// list, Up and Down in the box move the list, Escape closes the window through "Выход",
// and the search box takes the focus whenever the window is shown or activated.
class SearchListWindow : public QDialog {
    Q_OBJECT
public:
    // A filter expression with the values of its :name parameters.
    struct Filter {
        QString expression;
        QVariantMap params;
    };

    struct Setup {
        const char* objectName;
        QString caption;
        Dataset* dataset;
        std::vector<GridColumn> columns;
        // The filter for a typed search; an empty expression switches the filter off.
        std::function<Filter(const QString& typed)> searchFilter;
        // Whether every other key-down in the search box is consumed as well, so that only
        // typed characters and Backspace edit the text.
        bool searchTakesOnlyCharacters = true;
    };

    SearchListWindow(Setup setup, QWidget* parent = nullptr);

    // "field like 'typed%'" ('%typed%' anywhere), what was typed bound as the pattern's
    // value and matching literally.
    static Filter likeSearch(const char* field, const QString& typed, bool anywhere = false);

    int Tag = 0;
    DataGrid* DBGrid1;
    QLineEdit* Edit1;      // the search box
    QPushButton* Button4;  // "Выход"

    Dataset& dataset() const { return *setup_.dataset; }

    void Edit1Change();
    void Button4Click();
    virtual void DBGrid1DblClick() = 0;

protected:
    // Puts a control into the bottom row, before the search box.
    void addToBottomRow(QWidget* control);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;  // Escape

private:
    void focusSearchBox();
    void orderTabsAsOnScreen();
    void widenToGrid();

    // The window's width beside its grid's columns: frame, scroll bar and margins.
    static constexpr int kGridMargins = 60;
    bool searchKeyDown(int key, const QString& text);

    Setup setup_;
    QHBoxLayout* bottomRow_;
    int bottomInsertAt_ = 0;
};

// A reference list that is maintained from the main menu (Tag 0) and serves editors as
// a picker (any other Tag): "Добавить", "Изменить" (which becomes "Выбрать"), "Удалить".
class ReferenceListWindow : public SearchListWindow {
    Q_OBJECT
public:
    explicit ReferenceListWindow(Setup setup, QWidget* parent = nullptr);

    QPushButton* Button1;  // "Добавить"
    QPushButton* Button2;  // "Изменить" / "Выбрать"
    QPushButton* Button3;  // "Удалить"

    // The main menu's set-up: Tag 0, dataset open, the maintenance buttons; the dataset is
    // closed again when the window closes.
    void showForMaintenance();
    // An editor's set-up before showing: the picker buttons and an emptied search box.
    void setUpAsPicker(int tag);
    // An editor's clean-up after a picker showing: "Выбрать" no longer default, no search box.
    void endPicker();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void DBGrid1DblClick() override;

protected:
    void setUpForMaintenance();
    // Whether the picker hands back from an empty list as well (an empty text and 0).
    bool handsBackFromEmptyList = false;

    virtual void addRow() = 0;
    virtual void changeRow() = 0;
    virtual void deleteRow() = 0;
    // Writes the current row into the editor that opened the picker.
    virtual void handBack() = 0;

private:
    void pick();
};
