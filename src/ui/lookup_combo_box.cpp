#include "lookup_combo_box.h"

#include "dataset.h"
#include "dataset_model.h"

#include <QSet>

LookupComboBox::LookupComboBox(Dataset& list, const QString& keyField, const QString& listField, QWidget* parent)
    : QComboBox(parent), list_(list), keyField_(keyField), listField_(listField)
{
    setMaxVisibleItems(10);
}

void LookupComboBox::fill()
{
    const qint64 kept = keyValue();
    clear();
    const int position = list_.recNo();
    const int listColumn = list_.columnIndex(listField_);
    const unsigned listType = listColumn < 0 ? 0 : list_.columns()[size_t(listColumn)].oid;
    QSet<qint64> listed;
    for (list_.first(); !list_.eof(); list_.next()) {
        const qint64 key = list_.fieldByName(keyField_).asLargeInt();
        if (listed.contains(key))
            continue;
        listed.insert(key);
        addItem(formatForDisplay(list_.fieldByName(listField_).asString(), listType), key);
    }
    if (position > 0)
        list_.setRecNo(position);
    setKeyValue(kept);
}

qint64 LookupComboBox::keyValue() const { return currentIndex() < 0 ? 0 : currentData().toLongLong(); }

void LookupComboBox::setKeyValue(qint64 key) { setCurrentIndex(key ? findData(key) : -1); }

void LookupComboBox::step(int direction)
{
    const int index = currentIndex() + direction;
    if (index >= 0 && index < count())
        setCurrentIndex(index);
}
