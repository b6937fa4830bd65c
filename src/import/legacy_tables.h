#pragma once

#include <QString>
#include <vector>

// How a legacy value becomes the value of its target column.
enum class FieldKind { Integer, Float, Text, Date, DateTime };

struct LegacyField {
    QString name;  // the same in the source (any letter case) and the target
    FieldKind kind;
};

// One table of the earlier database and the server table that receives it.
struct LegacyTable {
    QString source;   // as the progress text names it
    QString target;
    bool sortedById;  // read in the order of id
    std::vector<LegacyField> fields;

    bool copiesId() const { return !fields.empty() && fields.front().name == QLatin1String("id"); }
};

// The seven tables in the order they are imported: the timesheet, items, nomenclature,
// operations, operation kinds, workers, the journal.
const std::vector<LegacyTable>& legacyTables();
