#include "dataset_model.h"

#include <QDate>
#include <QFont>
#include <QLocale>

namespace {

QString formatNumber(const QString& stored, int minDecimals, int maxDecimals)
{
    QString text = stored.trimmed();
    if (maxDecimals >= 0) {
        const double value = text.toDouble();
        text = QString::number(value, 'f', maxDecimals);
    }
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        // Trailing zeros beyond the wanted minimum go, as the number itself shows.
        qsizetype end = text.size();
        while (end > point + 1 + minDecimals && text[end - 1] == QLatin1Char('0'))
            --end;
        if (end == point + 1)
            --end;
        text.truncate(end);
    }
    if (minDecimals > 0) {
        if (point < 0) {
            point = text.size();
            text += QLatin1Char('.');
        }
        while (text.size() - point - 1 < minDecimals)
            text += QLatin1Char('0');
    }
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

}  // namespace

QString formatForDisplay(const QString& stored, unsigned typeOid, int minDecimals, int maxDecimals)
{
    switch (typeOid) {
    case 700:
    case 701:
    case 1700:
        return formatNumber(stored, minDecimals, maxDecimals);
    case 1082:
        return QDate::fromString(stored, Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy"));
    case 1114:
    case 1184: {
        const QDateTime dt = QDateTime::fromString(stored.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("dd.MM.yyyy"))
                                        : dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    }
    case 1042: {  // blank-padded text
        QString text = stored;
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    }
    default:
        return stored;
    }
}

QString formatMoney(const QString& stored) { return QLocale().toString(stored.trimmed().toDouble(), 'f', 2); }

DatasetModel::DatasetModel(Dataset& dataset, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(&dataset), columns_(std::move(columns))
{
    connect(dataset_, &Dataset::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataset_, &Dataset::reset, this, [this] { endResetModel(); });
}

void DatasetModel::setTitleColor(int column, const QColor& color)
{
    if (columns_[size_t(column)].titleColor == color)
        return;
    columns_[size_t(column)].titleColor = color;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int DatasetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !dataset_->isOpen() ? 0 : dataset_->recordCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

std::optional<QString> DatasetModel::cellText(int row, int column) const
{
    const int c = dataset_->columnIndex(columns_[size_t(column)].field);
    if (c < 0)
        return std::nullopt;
    return dataset_->cellAt(row, c);
}

Qt::Alignment DatasetModel::alignment(int column) const
{
    const GridColumn& gridColumn = columns_[size_t(column)];
    if (gridColumn.alignment)
        return gridColumn.alignment;
    const int c = dataset_->columnIndex(gridColumn.field);
    const bool numeric = c >= 0 && dataset_->columns()[size_t(c)].numeric;
    return (numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QString DatasetModel::displayText(int row, int column) const
{
    const int c = dataset_->columnIndex(columns_[size_t(column)].field);
    if (c < 0)
        return {};
    const auto& cell = dataset_->cellAt(row, c);
    if (!cell)
        return {};
    const GridColumn& gridColumn = columns_[size_t(column)];
    if (gridColumn.money)
        return formatMoney(*cell);
    return formatForDisplay(*cell, dataset_->columns()[size_t(c)].oid, gridColumn.minDecimals, gridColumn.maxDecimals);
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(index.column()));
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& gridColumn = columns_[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return gridColumn.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case Qt::FontRole: {
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::ForegroundRole:
        return gridColumn.titleColor.isValid() ? QVariant(gridColumn.titleColor) : QVariant();
    default:
        return {};
    }
}
