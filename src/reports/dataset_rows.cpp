#include "dataset_rows.h"

#include "dataset.h"
#include "report_preview.h"

#include <QRegularExpression>

DatasetRows::DatasetRows(Dataset& dataset) : dataset_(dataset) { dataset_.first(); }

QString DatasetRows::sourceName() const { return dataset_.objectName(); }

int DatasetRows::fieldIndex(const QString& name) const { return dataset_.columnIndex(name); }

report::Value DatasetRows::value(int field) const
{
    const Field value(&dataset_, field);
    if (value.isNull())
        return report::Value::null();
    if (dataset_.columns()[size_t(field)].numeric)
        return report::Value::of(value.asFloat());
    // Fixed-width (char) columns come padded with blanks; the padding is not part of the text.
    static const QRegularExpression trailingBlanks(QStringLiteral(" +$"));
    return report::Value::of(value.asString().remove(trailingBlanks));
}

bool DatasetRows::atEnd() const { return dataset_.eof(); }

void DatasetRows::next() { dataset_.next(); }

void previewDataset(const report::Report& layout, Dataset& dataset, QWidget* parent)
{
    {
        DatasetRows rows(dataset);
        report::preview(layout, rows, parent);
    }
    dataset.close();
    report::handBackFreedMemory();
}
