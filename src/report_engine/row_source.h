#pragma once

#include "expression.h"

#include <QString>

namespace report {

// The records a report is prepared from, read once from the current one to the end.
// The engine asks for each field's index by name once, then reads values by index.
class RowSource {
public:
    virtual ~RowSource() = default;

    // The name fields may be qualified with ("H_Tabel" in "H_Tabel.fio").
    virtual QString sourceName() const = 0;
    // The index of a field by its name (any case); -1 when there is none.
    virtual int fieldIndex(const QString& name) const = 0;
    // The field's value in the current record; a null for a missing value.
    virtual Value value(int field) const = 0;
    virtual bool atEnd() const = 0;
    virtual void next() = 0;
};

}  // namespace report
