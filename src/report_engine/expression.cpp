#include "expression.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace report {

struct Expression::Node {
    enum class Op { Constant, Field, PageNumber, Add, Sub, Mul, Div, Neg, Eq, Ne, Lt, Gt, Le, Ge, If, Str, Sum };
    Op op = Op::Constant;
    Value constant;
    QString qualifier;
    QString name;
    int index = -1;  // field: its resolved index; sum: its slot
    std::vector<std::unique_ptr<Node>> args;

    std::unique_ptr<Node> clone() const
    {
        auto copy = std::make_unique<Node>();
        copy->op = op;
        copy->constant = constant;
        copy->qualifier = qualifier;
        copy->name = name;
        copy->index = index;
        for (const auto& arg : args)
            copy->args.push_back(arg->clone());
        return copy;
    }
};

using Node = Expression::Node;
using Op = Node::Op;

DefinitionError::DefinitionError(const QString& message) : std::runtime_error(message.toStdString()) {}

// ---- values ----

double Value::asNumber() const
{
    if (type == Type::Number)
        return number;
    if (type == Type::Text) {
        bool ok = false;
        const double n = text.trimmed().toDouble(&ok);
        return ok ? n : 0;
    }
    return 0;
}

QString Value::asText() const
{
    switch (type) {
    case Type::Number:
        return plainNumberText(number);
    case Type::Text:
        return text;
    case Type::Null:
        break;
    }
    return {};
}

bool Value::isTrue() const
{
    if (type == Type::Text)
        return !text.isEmpty();
    return asNumber() != 0;
}

QString plainNumberText(double value)
{
    // Written without grouping, so only the decimal separator is the user's.
    QString text = QString::number(value == 0 ? 0.0 : value, 'g', 15);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

// ---- parsing ----

namespace {

struct Token {
    enum class Kind { End, Number, Text, Name, Symbol };
    Kind kind = Kind::End;
    QString text;
    double number = 0;
    int position = 0;  // 1-based, for messages
};

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'); }

class Parser {
public:
    explicit Parser(const QString& source) : source_(source) { advance(); }

    std::unique_ptr<Node> parseWhole()
    {
        if (token_.kind == Token::Kind::End)
            fail(QStringLiteral("пустое выражение"));
        auto root = comparison();
        if (token_.kind != Token::Kind::End)
            fail(QStringLiteral("лишнее «%1»").arg(token_.text));
        return root;
    }

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw DefinitionError(QStringLiteral("Ошибка в выражении «%1», позиция %2: %3").arg(source_).arg(token_.position).arg(what));
    }

    void advance()
    {
        while (pos_ < source_.size() && source_[pos_].isSpace())
            ++pos_;
        token_ = Token{};
        token_.position = int(pos_) + 1;
        if (pos_ >= source_.size())
            return;
        const QChar c = source_[pos_];
        if (c.isDigit())
            readNumber();
        else if (c == QLatin1Char('\''))
            readText();
        else if (isNameStart(c))
            readName();
        else
            readSymbol();
    }

    void readNumber()
    {
        const qsizetype start = pos_;
        while (pos_ < source_.size() && (source_[pos_].isDigit() || source_[pos_] == QLatin1Char('.')))
            ++pos_;
        token_.kind = Token::Kind::Number;
        token_.text = source_.mid(start, pos_ - start);
        bool ok = false;
        token_.number = token_.text.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("неверное число «%1»").arg(token_.text));
    }

    // A quote inside a text is written twice: 'д''Артаньян'.
    void readText()
    {
        token_.kind = Token::Kind::Text;
        for (++pos_;; ++pos_) {
            if (pos_ >= source_.size())
                fail(QStringLiteral("текст не закрыт кавычкой"));
            if (source_[pos_] == QLatin1Char('\'')) {
                if (pos_ + 1 < source_.size() && source_[pos_ + 1] == QLatin1Char('\'')) {
                    token_.text += QLatin1Char('\'');
                    ++pos_;
                    continue;
                }
                ++pos_;
                return;
            }
            token_.text += source_[pos_];
        }
    }

    void readName()
    {
        const qsizetype start = pos_;
        while (pos_ < source_.size() && isNamePart(source_[pos_]))
            ++pos_;
        token_.kind = Token::Kind::Name;
        token_.text = source_.mid(start, pos_ - start);
    }

    void readSymbol()
    {
        static const QStringList twoCharacter{QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
        token_.kind = Token::Kind::Symbol;
        const QString two = source_.mid(pos_, 2);
        if (twoCharacter.contains(two)) {
            token_.text = two;
            pos_ += 2;
            return;
        }
        token_.text = source_.mid(pos_, 1);
        if (!QStringLiteral("+-*/=<>(),").contains(token_.text))
            fail(QStringLiteral("непонятный знак «%1»").arg(token_.text));
        ++pos_;
    }

    bool isSymbol(const char* symbol) const
    {
        return token_.kind == Token::Kind::Symbol && token_.text == QLatin1String(symbol);
    }

    void expect(const char* symbol)
    {
        if (!isSymbol(symbol))
            fail(token_.kind == Token::Kind::End ? QStringLiteral("ожидалось «%1» в конце").arg(QLatin1String(symbol))
                                                 : QStringLiteral("ожидалось «%1» вместо «%2»").arg(QLatin1String(symbol), token_.text));
        advance();
    }

    static std::unique_ptr<Node> binary(Op op, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->op = op;
        node->args.push_back(std::move(left));
        node->args.push_back(std::move(right));
        return node;
    }

    std::unique_ptr<Node> comparison()
    {
        static const std::vector<std::pair<const char*, Op>> comparisons{
            {"=", Op::Eq}, {"<>", Op::Ne}, {"<", Op::Lt}, {">", Op::Gt}, {"<=", Op::Le}, {">=", Op::Ge}};
        auto left = additive();
        for (const auto& [symbol, op] : comparisons) {
            if (isSymbol(symbol)) {
                advance();
                return binary(op, std::move(left), additive());
            }
        }
        return left;
    }

    std::unique_ptr<Node> additive()
    {
        auto left = term();
        while (isSymbol("+") || isSymbol("-")) {
            const Op op = isSymbol("+") ? Op::Add : Op::Sub;
            advance();
            left = binary(op, std::move(left), term());
        }
        return left;
    }

    std::unique_ptr<Node> term()
    {
        auto left = unary();
        while (isSymbol("*") || isSymbol("/")) {
            const Op op = isSymbol("*") ? Op::Mul : Op::Div;
            advance();
            left = binary(op, std::move(left), unary());
        }
        return left;
    }

    std::unique_ptr<Node> unary()
    {
        if (!isSymbol("-"))
            return primary();
        advance();
        auto node = std::make_unique<Node>();
        node->op = Op::Neg;
        node->args.push_back(unary());
        return node;
    }

    std::unique_ptr<Node> primary()
    {
        auto node = std::make_unique<Node>();
        switch (token_.kind) {
        case Token::Kind::Number:
            node->constant = Value::of(token_.number);
            advance();
            return node;
        case Token::Kind::Text:
            node->constant = Value::of(token_.text);
            advance();
            return node;
        case Token::Kind::Name:
            return nameOrCall();
        case Token::Kind::Symbol:
            if (isSymbol("(")) {
                advance();
                auto inner = comparison();
                expect(")");
                return inner;
            }
            fail(QStringLiteral("ожидалось значение вместо «%1»").arg(token_.text));
        case Token::Kind::End:
            break;
        }
        fail(QStringLiteral("выражение оборвано"));
    }

    std::unique_ptr<Node> nameOrCall()
    {
        const QString name = token_.text;
        advance();
        auto node = std::make_unique<Node>();
        if (isSymbol("("))
            return call(name);
        if (name.compare(QLatin1String("PAGENUMBER"), Qt::CaseInsensitive) == 0) {
            node->op = Op::PageNumber;
            return node;
        }
        node->op = Op::Field;
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        node->qualifier = dot < 0 ? QString() : name.left(dot);
        node->name = name.mid(dot + 1);
        if (node->name.isEmpty())
            fail(QStringLiteral("после «%1» нет имени поля").arg(name));
        return node;
    }

    std::unique_ptr<Node> call(const QString& name)
    {
        struct Function {
            const char* name;
            Op op;
            int arity;
        };
        static const Function functions[] = {{"IF", Op::If, 3}, {"STR", Op::Str, 1}, {"SUM", Op::Sum, 1}};
        const Function* function = nullptr;
        for (const Function& f : functions)
            if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
                function = &f;
        if (!function)
            fail(QStringLiteral("неизвестная функция «%1»").arg(name));
        expect("(");
        auto node = std::make_unique<Node>();
        node->op = function->op;
        const auto wrongCount = [&] {
            fail(QStringLiteral("у %1 должно быть аргументов: %2").arg(name.toUpper()).arg(function->arity));
        };
        for (int i = 0; i < function->arity; ++i) {
            if (i > 0 && isSymbol(")"))
                wrongCount();
            if (i > 0)
                expect(",");
            node->args.push_back(comparison());
        }
        if (isSymbol(","))
            wrongCount();
        expect(")");
        return node;
    }

    const QString& source_;
    qsizetype pos_ = 0;
    Token token_;
};

// ---- evaluation ----

Value arithmetic(Op op, const Value& left, const Value& right)
{
    if (left.isNull() && right.isNull())
        return Value::null();
    const double a = left.asNumber();
    const double b = right.asNumber();
    switch (op) {
    case Op::Sub:
        return Value::of(a - b);
    case Op::Mul:
        return Value::of(a * b);
    case Op::Div:
        return b == 0 ? Value::null() : Value::of(a / b);
    default:
        return Value::of(a + b);
    }
}

// Texts join: a number beside a text joins as its plain text.
Value add(const Value& left, const Value& right)
{
    if (left.type == Value::Type::Text || right.type == Value::Type::Text)
        return Value::of(left.asText() + right.asText());
    return arithmetic(Op::Add, left, right);
}

// Texts compare as texts, everything else as numbers (a null as 0 or as an empty text).
int compare(const Value& left, const Value& right)
{
    const bool texts = (left.type == Value::Type::Text || right.type == Value::Type::Text)
                       && left.type != Value::Type::Number && right.type != Value::Type::Number;
    if (texts)
        return QString::compare(left.asText(), right.asText());
    const double a = left.asNumber();
    const double b = right.asNumber();
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool holds(Op op, int order)
{
    switch (op) {
    case Op::Eq:
        return order == 0;
    case Op::Ne:
        return order != 0;
    case Op::Lt:
        return order < 0;
    case Op::Gt:
        return order > 0;
    case Op::Le:
        return order <= 0;
    default:
        return order >= 0;
    }
}

template <typename Visit>
void forEachNode(const Node& node, Visit&& visit)
{
    visit(node);
    for (const auto& arg : node.args)
        forEachNode(*arg, visit);
}

template <typename Visit>
void forEachNode(Node& node, Visit&& visit)
{
    visit(node);
    for (auto& arg : node.args)
        forEachNode(*arg, visit);
}

}  // namespace

Expression Expression::parse(const QString& source)
{
    Expression expression;
    expression.source_ = source;
    expression.root_ = Parser(source).parseWhole();
    return expression;
}

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

Expression::Expression(const Expression& other) : source_(other.source_), root_(other.root_ ? other.root_->clone() : nullptr) {}

Expression& Expression::operator=(const Expression& other)
{
    if (this != &other) {
        source_ = other.source_;
        root_ = other.root_ ? other.root_->clone() : nullptr;
    }
    return *this;
}

void Expression::bind(FieldResolver& resolver)
{
    if (!root_)
        return;
    forEachNode(*root_, [&](Node& node) {
        if (node.op != Op::Field)
            return;
        node.index = resolver.resolve(node.qualifier, node.name);
        if (node.index < 0)
            throw DefinitionError(QStringLiteral("Ошибка в выражении «%1»: нет поля «%2»").arg(source_, node.name));
    });
}

int Expression::numberAggregates(int firstSlot)
{
    if (root_)
        forEachNode(*root_, [&](Node& node) {
            if (node.op == Op::Sum)
                node.index = firstSlot++;
        });
    return firstSlot;
}

std::vector<std::pair<int, const Node*>> Expression::aggregates() const
{
    std::vector<std::pair<int, const Node*>> sums;
    if (root_)
        forEachNode(std::as_const(*root_), [&](const Node& node) {
            if (node.op == Op::Sum)
                sums.emplace_back(node.index, node.args.front().get());
        });
    return sums;
}

bool Expression::usesPageNumber() const
{
    bool uses = false;
    if (root_)
        forEachNode(std::as_const(*root_), [&](const Node& node) { uses = uses || node.op == Op::PageNumber; });
    return uses;
}

Value Expression::evaluate(const EvaluationContext& context) const
{
    return root_ ? evaluate(*root_, context) : Value::null();
}

Value Expression::evaluate(const Node& node, const EvaluationContext& context)
{
    const auto arg = [&](int i) { return evaluate(*node.args[size_t(i)], context); };
    switch (node.op) {
    case Op::Constant:
        return node.constant;
    case Op::Field:
        return context.fieldValue(node.index);
    case Op::PageNumber:
        return Value::of(context.pageNumber());
    case Op::Add:
        return add(arg(0), arg(1));
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
        return arithmetic(node.op, arg(0), arg(1));
    case Op::Neg: {
        const Value v = arg(0);
        return v.isNull() ? v : Value::of(-v.asNumber());
    }
    case Op::If:
        return arg(0).isTrue() ? arg(1) : arg(2);
    case Op::Str:
        return Value::of(arg(0).asText());
    case Op::Sum:
        return Value::of(context.aggregate(node.index));
    default:
        return Value::of(holds(node.op, compare(arg(0), arg(1))) ? 1.0 : 0.0);
    }
}

// ---- masks ----

NumberMask NumberMask::parse(const QString& mask)
{
    const qsizetype point = mask.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? mask : mask.left(point);
    const QString fraction = point < 0 ? QString() : mask.mid(point + 1);
    static const QRegularExpression wholePattern(QStringLiteral("^#*0+$"));
    static const QRegularExpression fractionPattern(QStringLiteral("^0*#*$"));
    if (!wholePattern.match(whole).hasMatch() || !fractionPattern.match(fraction).hasMatch()
        || (point >= 0 && fraction.isEmpty()))
        throw DefinitionError(QStringLiteral("Неизвестная маска числа «%1»").arg(mask));
    NumberMask parsed;
    parsed.minIntegerDigits_ = int(whole.count(QLatin1Char('0')));
    parsed.minDecimals_ = int(fraction.count(QLatin1Char('0')));
    parsed.maxDecimals_ = int(fraction.size());
    return parsed;
}

namespace {

// The magnitude times 10^decimals, rounded half away from zero, as decimal digits. The
// rounding works on the value's 15 significant decimal digits, so 2.675 rounds as the
// user reads it (to 2.68), not as the nearest binary fraction (2.67499…) would.
QString scaledDigits(double magnitude, int decimals)
{
    if (magnitude == 0)
        return QStringLiteral("0");
    const QString scientific = QString::number(magnitude, 'e', 14);
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    QString mantissa = scientific.left(e);
    mantissa.remove(QLatin1Char('.'));
    const int kept = scientific.mid(e + 1).toInt() + 1 + decimals;
    if (kept < 0)
        return QStringLiteral("0");
    QString digits = mantissa.left(kept);
    if (kept > mantissa.size())
        digits += QString(kept - mantissa.size(), QLatin1Char('0'));
    const bool roundUp = kept < mantissa.size() && mantissa[kept] >= QLatin1Char('5');
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits[i] == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    return digits;
}

}  // namespace

QString NumberMask::format(double value) const
{
    if (!std::isfinite(value))
        return plainNumberText(value);
    QString digits = scaledDigits(std::abs(value), maxDecimals_);
    if (digits.size() <= maxDecimals_)
        digits = QString(maxDecimals_ + 1 - digits.size(), QLatin1Char('0')) + digits;
    QString whole = digits.left(digits.size() - maxDecimals_);
    QString fraction = digits.right(maxDecimals_);
    while (fraction.size() > minDecimals_ && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.size() < minIntegerDigits_)
        whole = QString(minIntegerDigits_ - whole.size(), QLatin1Char('0')) + whole;
    const bool zero = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    QString text = (value < 0 && !zero ? QStringLiteral("-") : QString()) + whole;
    if (!fraction.isEmpty())
        text += QLocale().decimalPoint() + fraction;
    return text;
}

QString printedText(const Value& value, const NumberMask* mask)
{
    if (value.isNull())
        return {};
    if (mask && value.type == Value::Type::Number)
        return mask->format(value.number);
    if (mask) {
        bool ok = false;
        const double n = value.text.trimmed().toDouble(&ok);
        if (ok)
            return mask->format(n);
    }
    return value.asText();
}

}  // namespace report
