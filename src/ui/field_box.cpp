#include "field_box.h"

#include "dataset.h"
#include "dataset_model.h"

FieldBox::FieldBox(Dataset& dataset, const QString& field, QWidget* parent)
    : QLineEdit(parent), dataset_(dataset), field_(field)
{
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    connect(&dataset_, &Dataset::reset, this, &FieldBox::showCurrent);
    connect(&dataset_, &Dataset::currentChanged, this, &FieldBox::showCurrent);
}

void FieldBox::showCurrent()
{
    const int column = dataset_.columnIndex(field_);
    if (!dataset_.isOpen() || dataset_.isEmpty() || column < 0) {
        clear();
        return;
    }
    setText(formatForDisplay(dataset_.fieldByName(field_).asString(), dataset_.columns()[size_t(column)].oid));
}
