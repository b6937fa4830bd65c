#pragma once

// The expression language of the layouts, parsed once into a tree:
//   field names, also qualified by the source's name (t_Report.fio); numbers (12, 0.5);
//   texts in single quotes ('Заготовки'); + (numbers add, texts join); - * / on numbers;
//   = <> < > <= >=; IF(condition, then, else); STR(number); sum(expression), the sum of
//   its argument over the records since it was last reset; PAGENUMBER.
// Names of functions and fields are read without regard to case. A null field reads as 0
// beside a number and in sums, and as an empty text elsewhere.

#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

namespace report {

// A layout that cannot be built: an expression that does not parse, a field the source
// does not have, a mask the engine does not know.
class DefinitionError : public std::runtime_error {
public:
    explicit DefinitionError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

struct Value {
    enum class Type { Null, Number, Text };
    Type type = Type::Null;
    double number = 0;
    QString text;

    static Value null() { return {}; }
    static Value of(double n) { return {Type::Number, n, {}}; }
    static Value of(const QString& t) { return {Type::Text, 0, t}; }
    bool isNull() const { return type == Type::Null; }
    double asNumber() const;   // null: 0; a text that reads as a number: that number
    QString asText() const;    // null: empty; a number: its plain text (plainNumberText)
    bool isTrue() const;       // a non-zero number or a non-empty text
};

// A number as printed without a mask: up to 15 significant digits, no trailing zeros,
// the user's decimal separator, no grouping.
QString plainNumberText(double value);

// What an expression is evaluated against.
class EvaluationContext {
public:
    virtual ~EvaluationContext() = default;
    virtual Value fieldValue(int field) const = 0;  // by the index the resolver handed out
    virtual double aggregate(int slot) const = 0;   // the running value of a sum
    virtual int pageNumber() const = 0;
};

// Turns field names into indices when an expression is bound to a source.
class FieldResolver {
public:
    virtual ~FieldResolver() = default;
    // The index of the field, -1 when the source has none by that name. The qualifier is
    // the part before the dot ("t_Report"), empty when not written.
    virtual int resolve(const QString& qualifier, const QString& name) = 0;
};

class Expression {
public:
    struct Node;

    // Throws DefinitionError with the text and the place of the fault.
    static Expression parse(const QString& source);

    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;
    Expression(const Expression&);
    Expression& operator=(const Expression&);

    const QString& source() const { return source_; }
    // Gives each field its index; throws DefinitionError for a field the source has not.
    void bind(FieldResolver& resolver);
    // The sums of the expression, each with a slot of its own numbered from `firstSlot`;
    // returns the next free slot.
    int numberAggregates(int firstSlot);
    // The argument of each sum, by slot, to be added up record by record.
    std::vector<std::pair<int, const Node*>> aggregates() const;
    bool usesPageNumber() const;

    Value evaluate(const EvaluationContext& context) const;
    static Value evaluate(const Node& node, const EvaluationContext& context);

private:
    QString source_;
    std::unique_ptr<Node> root_;
};

// A number mask: "#0" whole numbers, "#0.00" two decimals, "#0.000" three, "#0.00#" two or
// three; at least one integer digit, no grouping, the user's decimal separator. Halves
// round away from zero; a value that rounds to zero prints without a minus.
class NumberMask {
public:
    // Throws DefinitionError for a mask it does not know.
    static NumberMask parse(const QString& mask);

    QString format(double value) const;

private:
    int minDecimals_ = 0;
    int maxDecimals_ = 0;
    int minIntegerDigits_ = 1;
};

// The text an item prints for a value: empty for null, a number through the mask when
// there is one (a text that reads as a number too), otherwise the plain text.
QString printedText(const Value& value, const NumberMask* mask);

}  // namespace report
