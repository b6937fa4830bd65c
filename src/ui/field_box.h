#pragma once

#include <QLineEdit>

class Dataset;

// A box that shows one field of a dataset's current record as the user reads it (numbers
// with the user's decimal separator) and follows the dataset as it moves, re-reads and
// closes; empty while there is no current record. The user cannot type into it.
class FieldBox : public QLineEdit {
    Q_OBJECT
public:
    FieldBox(Dataset& dataset, const QString& field, QWidget* parent = nullptr);

private:
    void showCurrent();

    Dataset& dataset_;
    QString field_;
};
