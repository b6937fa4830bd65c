#include "filter_expression.h"

#include "internal_error.h"

#include <QHash>
#include <QRegularExpression>
#include <vector>

namespace {

enum class TokenKind { Name, Number, Text, Parameter, Operator, Open, Close, End };

struct Token {
    TokenKind kind;
    QString text;
};

// Fixed-length text columns come blank-padded.
QString withoutTrailingBlanks(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QString foldText(const QString& s) { return withoutTrailingBlanks(s).toCaseFolded(); }

[[noreturn]] void syntaxError(const QString& text) { throw InternalError(QStringLiteral("Ошибка в выражении фильтра: ") + text); }

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            tokens.push_back({c == QLatin1Char('(') ? TokenKind::Open : TokenKind::Close, c});
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString text;
            ++i;
            for (;;) {
                if (i >= s.size())
                    syntaxError(s);
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\'')) {
                        text += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s[i++];
            }
            tokens.push_back({TokenKind::Text, text});
        } else if (c == QLatin1Char(':') && i + 1 < s.size() && s[i + 1].isLetter()) {
            qsizetype end = i + 2;
            while (end < s.size() && (s[end].isLetterOrNumber() || s[end] == QLatin1Char('_')))
                ++end;
            tokens.push_back({TokenKind::Parameter, s.mid(i + 1, end - i - 1).toLower()});
            i = end;
        } else if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < s.size() && s[i + 1].isDigit())) {
            qsizetype end = i + 1;
            while (end < s.size() && (s[end].isDigit() || s[end] == QLatin1Char('.')))
                ++end;
            tokens.push_back({TokenKind::Number, s.mid(i, end - i)});
            i = end;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            qsizetype end = i + 1;
            while (end < s.size() && (s[end].isLetterOrNumber() || s[end] == QLatin1Char('_')))
                ++end;
            tokens.push_back({TokenKind::Name, s.mid(i, end - i)});
            i = end;
        } else {
            static const QStringList operators = {QStringLiteral("<>"), QStringLiteral("!="),
                                                  QStringLiteral("<="), QStringLiteral(">="),
                                                  QStringLiteral("="),  QStringLiteral("<"),
                                                  QStringLiteral(">")};
            bool found = false;
            for (const QString& op : operators) {
                if (s.mid(i, op.size()) == op) {
                    tokens.push_back({TokenKind::Operator, op == QStringLiteral("!=") ? QStringLiteral("<>") : op});
                    i += op.size();
                    found = true;
                    break;
                }
            }
            if (!found)
                syntaxError(s);
        }
    }
    tokens.push_back({TokenKind::End, {}});
    return tokens;
}

QRegularExpression likeRegex(const QString& pattern)
{
    QString rx = QStringLiteral("\\A");
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\\') && i + 1 < pattern.size())
            rx += QRegularExpression::escape(QString(pattern[++i]));
        else if (c == QLatin1Char('%'))
            rx += QStringLiteral(".*");
        else if (c == QLatin1Char('_'))
            rx += QLatin1Char('.');
        else
            rx += QRegularExpression::escape(QString(c));
    }
    rx += QStringLiteral("\\z");
    return QRegularExpression(rx, QRegularExpression::CaseInsensitiveOption
                                      | QRegularExpression::DotMatchesEverythingOption
                                      | QRegularExpression::UseUnicodePropertiesOption);
}

}  // namespace

struct FilterExpression::Node {
    enum class Kind { And, Or, Not, Compare } kind;
    std::unique_ptr<Node> left, right;
    QString field;      // Compare: lower-case field name
    QString op;         // Compare: = <> < > <= >= like
    QString literal;    // Compare: the literal's text
    bool literalIsNumber = false;
    QRegularExpression like;

    bool evaluate(const RowReader& row) const
    {
        switch (kind) {
        case Kind::And:
            return left->evaluate(row) && right->evaluate(row);
        case Kind::Or:
            return left->evaluate(row) || right->evaluate(row);
        case Kind::Not:
            return !left->evaluate(row);
        case Kind::Compare:
            return compare(row(field));
        }
        return false;
    }

    bool compare(const FieldValue& value) const
    {
        if (!value.text)
            return false;
        if (op == QStringLiteral("like"))
            return like.match(withoutTrailingBlanks(*value.text)).hasMatch();
        int order;
        if (literalIsNumber && value.numeric) {
            const double a = value.text->toDouble();
            const double b = literal.toDouble();
            order = a < b ? -1 : (a > b ? 1 : 0);
        } else {
            order = foldText(*value.text).compare(foldText(literal));
        }
        if (op == QStringLiteral("="))
            return order == 0;
        if (op == QStringLiteral("<>"))
            return order != 0;
        if (op == QStringLiteral("<"))
            return order < 0;
        if (op == QStringLiteral(">"))
            return order > 0;
        if (op == QStringLiteral("<="))
            return order <= 0;
        return order >= 0;
    }
};

namespace {

class Parser {
public:
    Parser(const QString& source, const QVariantMap& params) : source_(source), tokens_(tokenize(source))
    {
        for (auto param = params.cbegin(); param != params.cend(); ++param)
            params_.insert(param.key().toLower(), param.value());
    }

    std::unique_ptr<FilterExpression::Node> parseAll()
    {
        auto node = parseOr();
        if (peek().kind != TokenKind::End)
            syntaxError(source_);
        return node;
    }

private:
    using Node = FilterExpression::Node;

    const Token& peek() const { return tokens_[pos_]; }
    Token take() { return tokens_[pos_++]; }
    bool takeKeyword(const char* word)
    {
        if (peek().kind == TokenKind::Name && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l, std::unique_ptr<Node> r)
    {
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto node = parseAnd();
        while (takeKeyword("or"))
            node = binary(Node::Kind::Or, std::move(node), parseAnd());
        return node;
    }

    std::unique_ptr<Node> parseAnd()
    {
        auto node = parseNot();
        while (takeKeyword("and"))
            node = binary(Node::Kind::And, std::move(node), parseNot());
        return node;
    }

    std::unique_ptr<Node> parseNot()
    {
        if (takeKeyword("not"))
            return binary(Node::Kind::Not, parseNot(), nullptr);
        if (peek().kind == TokenKind::Open) {
            take();
            auto node = parseOr();
            if (take().kind != TokenKind::Close)
                syntaxError(source_);
            return node;
        }
        return parseComparison();
    }

    std::unique_ptr<Node> parseComparison()
    {
        const Token field = take();
        if (field.kind != TokenKind::Name)
            syntaxError(source_);
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Compare;
        node->field = field.text.toLower();
        if (takeKeyword("like"))
            node->op = QStringLiteral("like");
        else if (peek().kind == TokenKind::Operator)
            node->op = take().text;
        else
            syntaxError(source_);
        const Token literal = valueOf(take());
        if (literal.kind != TokenKind::Text && literal.kind != TokenKind::Number)
            syntaxError(source_);
        node->literal = literal.text;
        node->literalIsNumber = literal.kind == TokenKind::Number;
        if (node->op == QStringLiteral("like"))
            node->like = likeRegex(node->literal);
        return node;
    }

    // A parameter stands for its value, which is compared as it is, never read as filter text.
    Token valueOf(const Token& token) const
    {
        if (token.kind != TokenKind::Parameter)
            return token;
        const auto value = params_.constFind(token.text);
        if (value == params_.cend())
            throw InternalError(QStringLiteral("Параметр '%1' не найден").arg(token.text));
        const bool number
            = value->typeId() == QMetaType::Int || value->typeId() == QMetaType::LongLong || value->typeId() == QMetaType::Double;
        return {number ? TokenKind::Number : TokenKind::Text, value->toString()};
    }

    QString source_;
    std::vector<Token> tokens_;
    QHash<QString, QVariant> params_;
    qsizetype pos_ = 0;
};

}  // namespace

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

FilterExpression FilterExpression::parse(const QString& text, const QVariantMap& params)
{
    FilterExpression e;
    if (!text.trimmed().isEmpty())
        e.root_ = Parser(text, params).parseAll();
    return e;
}

bool FilterExpression::matches(const RowReader& row) const
{
    return !root_ || root_->evaluate(row);
}

QString FilterExpression::prefixPattern(const QString& typed)
{
    QString escaped;
    for (const QChar c : typed) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped + QLatin1Char('%');
}
