#include "record_fields.h"

#include "journal_record.h"

namespace record_fields {

namespace {

InputRule ruleFor(const pay::Limit& limit, const QString& unit = {})
{
    return InputRule::wholeNumber(QString::fromUtf8(limit.field), 0, limit.maximum, unit);
}

}  // namespace

const InputRule& quantity()
{
    static const InputRule rule = ruleFor(pay::kQuantityLimit);
    return rule;
}

const InputRule& rejects()
{
    static const InputRule rule = ruleFor(pay::kRejectsLimit);
    return rule;
}

const InputRule& colour()
{
    static const InputRule rule = ruleFor(pay::kColourLimit);
    return rule;
}

const InputRule& hours()
{
    static const InputRule rule = ruleFor(pay::kHoursLimit, QStringLiteral("часов"));
    return rule;
}

bool isPaintOperation(const QString& description) { return description.toUpper().contains(QStringLiteral("КРАСКА")); }

}  // namespace record_fields
