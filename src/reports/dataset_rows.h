#pragma once

#include "report.h"
#include "row_source.h"

class Dataset;
class QWidget;

// An open dataset's records as a report reads them: from the first record the filter
// lets through to the last, numeric columns as numbers, missing values as nulls.
class DatasetRows : public report::RowSource {
public:
    // Goes to the dataset's first record.
    explicit DatasetRows(Dataset& dataset);

    QString sourceName() const override;  // the dataset's objectName
    int fieldIndex(const QString& name) const override;
    report::Value value(int field) const override;
    bool atEnd() const override;
    void next() override;

private:
    Dataset& dataset_;
};

// The report of the open dataset's records in the print preview over `parent`; the
// dataset is closed afterwards and the memory of a long report handed back.
void previewDataset(const report::Report& layout, Dataset& dataset, QWidget* parent);
