#pragma once

#include <QComboBox>

class Dataset;

// A drop-down list of one text field of a dataset, keyed by another field. The chosen key
// is kept when the list is filled again, so the box shows what it showed last. A key is
// listed once, on its first row, however many rows of the dataset repeat it; names are
// shown as the user reads them (a fixed-length name without its padding).
class LookupComboBox : public QComboBox {
    Q_OBJECT
public:
    LookupComboBox(Dataset& list, const QString& keyField, const QString& listField, QWidget* parent = nullptr);

    // Takes the entries of the open dataset.
    void fill();
    // 0 when nothing is chosen.
    qint64 keyValue() const;
    // Chooses the entry with this key; none when no entry has it.
    void setKeyValue(qint64 key);
    // Moves the choice one entry down (+1) or up (-1), as the arrow keys do.
    void step(int direction);

private:
    Dataset& list_;
    QString keyField_;
    QString listField_;
};
