#pragma once

#include "dataset.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>
#include <vector>

// A grid column over a dataset field.
struct GridColumn {
    QString field;
    QString title;
    int width = 0;  // 0: the grid's default width
    Qt::Alignment alignment = {};  // none given: numbers to the right, the rest to the left
    bool visible = true;
    // Decimals shown for numbers: at least minDecimals, at most maxDecimals (-1: as stored).
    int minDecimals = 0;
    int maxDecimals = -1;
    QColor titleColor;  // invalid: the normal text colour
    bool money = false;  // a sum of money: see formatMoney
};

// Shows the records of a dataset that its filter lets through, one row each; titles
// are bold and centred. Numbers carry the user's decimal separator.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DatasetModel(Dataset& dataset, std::vector<GridColumn> columns, QObject* parent = nullptr);

    Dataset& dataset() const { return *dataset_; }
    const std::vector<GridColumn>& columns() const { return columns_; }
    void setTitleColor(int column, const QColor& color);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The stored text of a cell, nullopt for null or an unknown field.
    std::optional<QString> cellText(int row, int column) const;

private:
    QString displayText(int row, int column) const;
    Qt::Alignment alignment(int column) const;

    Dataset* dataset_;
    std::vector<GridColumn> columns_;
};

// A stored value as the user reads it.
QString formatForDisplay(const QString& stored, unsigned typeOid, int minDecimals = 0, int maxDecimals = -1);
// A stored sum of money as the user reads it: exactly two decimals, the user's decimal
// separator and digit grouping ("3 021,00" in Russian).
QString formatMoney(const QString& stored);
