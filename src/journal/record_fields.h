#pragma once

#include "input_rules.h"

#include <QString>

// What the journal's record windows (the record editor, the brigade) take for a record's
// fields: the rules the typed numbers are checked against and the paint rule.
namespace record_fields {

inline const QString kAllFieldsMessage = QStringLiteral("Все поля должны быть заполнены!");

// The boxes take what the record's columns hold.
const InputRule& quantity();
const InputRule& rejects();
const InputRule& colour();
const InputRule& hours();

// An operation whose description names paint takes a colour; no other does.
bool isPaintOperation(const QString& description);

}  // namespace record_fields
