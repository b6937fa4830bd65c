#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

// A client-side filter over the rows of an open dataset, such as
//   fio like 'Ив%' and smena = 2 or ok <> 'no'
// Field names, numbers, quoted texts ('' inside for a quote), :name parameters, = <> !=
// < > <= >=, like with % (any run) and _ (one character), \ escaping either, and, or,
// not, parentheses. Texts compare without regard to letter case and trailing blanks.
class FilterExpression {
public:
    struct Node;

    // A :name in the text stands for the value of params under that name (without regard
    // to case). Throws InternalError on a syntax error or a parameter without a value.
    static FilterExpression parse(const QString& text, const QVariantMap& params = {});

    FilterExpression();
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    // A row's field as the filter sees it: its text (nullopt for null) and whether
    // the field is numeric.
    struct FieldValue {
        std::optional<QString> text;
        bool numeric = false;
    };
    using RowReader = std::function<FieldValue(const QString& fieldName)>;

    bool matches(const RowReader& row) const;

    // A like pattern that matches the text literally at the start of a value,
    // for searches typed by users.
    static QString prefixPattern(const QString& typed);

private:
    std::unique_ptr<Node> root_;
};
