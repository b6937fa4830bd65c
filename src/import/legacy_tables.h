#pragma once

#include <QString>
#include <vector>

// How a legacy value becomes the value of its target column.
enum class FieldKind { Integer, Float, Text, Date, DateTime };

struct LegacyField {
    QString name;  // the same in the source (any letter case) and the target
    FieldKind kind;
};

// One table of the earlier database and the server table that receives it. Rows are
// written in the order the source gives them: they keep their ids, so no order is needed.
struct LegacyTable {
    QString source;   // in capitals; the source may spell it in any letter case
    QString target;
    std::vector<LegacyField> fields;
    bool keyed = false;  // id is the target's key: every row has one, no two rows share it
    // Columns of other targets that hold this table's ids ("accounts_dep.smena.i_id"):
    // an id they cannot hold could never be referred to.
    std::vector<QString> idHolders = {};

    bool copiesId() const { return !fields.empty() && fields.front().name == QLatin1String("id"); }
};

// The seven tables in the order they are imported: the timesheet, items, nomenclature,
// operations, operation kinds, workers, the journal.
const std::vector<LegacyTable>& legacyTables();
