#pragma once

#include "dataset.h"

#include <QDialog>
#include <functional>

class NormsModel;
class QPushButton;
class QTableView;

// The norms of one operation "Норматив": norm value, piece price and bonus per row, edited
// in the grid. A changed row is written as soon as the user leaves the changed column.
class TForm22 : public QDialog {
    Q_OBJECT
public:
    explicit TForm22(QWidget* parent = nullptr);
    ~TForm22() override;

    Dataset norm;          // the norm table, one operation's rows by ascending norma
    QTableView* DBGrid1;
    QPushButton* Button1;  // "Сохранить", also Escape
    QPushButton* Button2;  // "Удалить"
    // The operation whose norms are shown.
    int OperationId = 0;

    // Reads the operation's norms and shows them modally.
    void showForOperation(int operationId);

    // A cell typed by the user, checked against its column (throws InputRefused); kept in
    // the row until the column is left.
    void cellEdited(int row, const QString& field, const QString& typed);
    // Writes the row being edited, if it holds a change, and reads the norms again.
    void writePendingRow();

    void Button1Click();
    void Button2Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;  // the title bar's close button: nothing pending is written

private:
    QString missingInNewRow() const;
    void rereadWhenStale(const std::function<void()>& write);
    void followCurrentCell(const QModelIndex& current, const QModelIndex& previous);

    NormsModel* model_;
    bool writing_ = false;
};

extern TForm22* Form22;
