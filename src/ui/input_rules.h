#pragma once

#include <QString>
#include <QtGlobal>
#include <stdexcept>

class QLineEdit;

// What a user may type into a box, known in one place. Every window checks a typed value
// against its field's rule before any statement runs, and refuses it with a Russian message
// that names the field ("Брак: число слишком большое (не больше 32767)"). Nothing typed is
// changed on the way: a value is accepted as typed or refused.
//
//   const InputRule hours = InputRule::wholeNumber("Время", 0, 24, "часов");
//   hours.prepare(Edit6);                       // the box shows whatever is typed or pasted
//   const QString time = hours.valueOf(Edit6);  // throws InputRefused, or the statement's text
//
// A refusal thrown inside a window's handler is shown by the handler guard in the program's
// error box; a transaction it crosses is rolled back.

// A typed value refused; its message names the field, and the box it was typed into is
// known when the value was read from one.
class InputRefused : public std::runtime_error {
public:
    explicit InputRefused(const QString& message, const QLineEdit* box = nullptr)
        : std::runtime_error(message.toStdString()), message_(message), box_(box) {}
    const QString& message() const { return message_; }
    const QLineEdit* box() const { return box_; }

private:
    QString message_;
    const QLineEdit* box_;
};

// The outcome of one check: the value as a statement carries it (a number in plain decimal
// with a full stop, a text trimmed; empty for an empty optional value), or the refusal.
struct CheckedInput {
    QString value;
    QString refusal;  // empty when accepted
    bool accepted() const { return refusal.isEmpty(); }
};

class InputRule {
public:
    // A whole number from `minimum` to `maximum`; `unit` completes the message for a value
    // that is not a whole number ("Время: нужно целое число часов").
    static InputRule wholeNumber(const QString& field, qint64 minimum, qint64 maximum, const QString& unit = {});
    // A number from `minimum` to `maximum` with at most `decimals` digits after the decimal
    // separator: the user's own, a full stop or a comma.
    static InputRule decimal(const QString& field, double minimum, double maximum, int decimals);
    // A text of at most `maxLength` characters once its outer blanks are removed.
    static InputRule text(const QString& field, int maxLength);

    // An empty value is accepted as no value (by default it is refused: "Цена: нужно заполнить").
    InputRule optional() const;

    const QString& field() const { return field_; }
    CheckedInput check(const QString& typed) const;
    // The checked value of a box; throws InputRefused.
    QString valueOf(const QLineEdit* box) const;
    QString valueOf(const QString& typed) const;

    // Readies a box for this rule: it takes and shows every character typed or pasted,
    // uncut, so the check sees exactly what the user sees.
    void prepare(QLineEdit* box) const;

private:
    enum class Kind { Whole, Decimal, Text };
    InputRule(Kind kind, const QString& field) : kind_(kind), field_(field) {}

    QString acceptedValue(const QString& typed, const QLineEdit* box) const;
    QString refusal(const QString& problem) const;
    CheckedInput checkWhole(const QString& typed) const;
    CheckedInput checkDecimal(const QString& typed) const;
    CheckedInput checkText(const QString& typed) const;
    QString rangeRefusal(double value) const;

    Kind kind_;
    QString field_;
    QString unit_;
    double minimum_ = 0;
    double maximum_ = 0;
    int decimals_ = 0;
    int maxLength_ = 0;
    bool optional_ = false;
};

// The ceiling of prices and norms: anything above it is a typing slip, not a price.
inline constexpr double kPriceCeiling = 1000000;
