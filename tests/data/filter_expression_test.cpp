#include "internal_error.h"
#include "filter_expression.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

struct Row {
    QHash<QString, std::optional<QString>> text;
    QHash<QString, bool> numeric;
};

bool matches(const QString& expression, const Row& row)
{
    return FilterExpression::parse(expression).matches([&](const QString& field) {
        return FilterExpression::FieldValue{row.text.value(field), row.numeric.value(field)};
    });
}

TEST(FilterExpression, EvaluatesComparisonsLikeAndLogic)
{
    const Row row{{{"fio", QStringLiteral("Иванов Иван")}, {"smena", QStringLiteral("2")},
                   {"vid", QStringLiteral("Покраска     ")}, {"ok", std::nullopt}, {"cena", QStringLiteral("12.50")}},
                  {{"smena", true}, {"cena", true}}};
    struct Case {
        const char* expression;
        bool expected;
    };
    const Case cases[] = {
        {"fio like 'Иван%'", true},
        {"fio like 'иван%'", true},          // letter case does not matter, Cyrillic included
        {"fio like 'Иванов_Иван'", true},
        {"fio like 'Петров%'", false},
        {"fio like '%Иван'", true},
        {"smena = 2", true},
        {"smena <> 2", false},
        {"smena != 3", true},
        {"smena > 1 and smena < 3", true},
        {"smena >= 3 or fio = 'иванов иван'", true},
        {"cena = 12.5", true},
        {"vid = 'покраска'", true},          // fixed-length text compares without its padding
        {"vid like 'Покраска'", true},
        {"ok = 'no'", false},                // null matches nothing
        {"ok <> 'no'", false},
        {"not (smena = 2)", false},
        {"(smena = 1 or smena = 2) and fio like 'И%'", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matches(QString::fromUtf8(c.expression), row), c.expected) << c.expression;
}

TEST(FilterExpression, PrefixPatternMatchesTypedWildcardsAndQuotesLiterally)
{
    const Row percent{{{"fio", QStringLiteral("100% план")}}, {}};
    const Row other{{{"fio", QStringLiteral("1000 план")}}, {}};
    const QString pattern = FilterExpression::prefixPattern(QStringLiteral("100%"));
    EXPECT_TRUE(matches(QStringLiteral("fio like '%1'").arg(pattern), percent));
    EXPECT_FALSE(matches(QStringLiteral("fio like '%1'").arg(pattern), other));

    const Row quote{{{"fio", QStringLiteral("O'Brien")}}, {}};
    EXPECT_TRUE(matches(QStringLiteral("fio like 'O''B%'"), quote));

    const Row underscore{{{"fio", QStringLiteral("a_b")}}, {}};
    const Row letter{{{"fio", QStringLiteral("axb")}}, {}};
    const QString under = FilterExpression::prefixPattern(QStringLiteral("a_"));
    EXPECT_TRUE(matches(QStringLiteral("fio like '%1'").arg(under), underscore));
    EXPECT_FALSE(matches(QStringLiteral("fio like '%1'").arg(under), letter));
}

// A parameter's value is compared as it is: a quote or an "or" in a typed text is part
// of the text, never more of the expression; a number stays a number.
TEST(FilterExpression, ParametersStandForTheirValues)
{
    const Row row{{{"fio", QStringLiteral("O'Brien or x")}, {"smena", QStringLiteral("2")}}, {{"smena", true}}};
    const auto bound = [&](const char* expression, const QVariantMap& params) {
        return FilterExpression::parse(QString::fromUtf8(expression), params).matches([&](const QString& field) {
            return FilterExpression::FieldValue{row.text.value(field), row.numeric.value(field)};
        });
    };
    EXPECT_TRUE(bound("fio like :typed", {{"typed", FilterExpression::prefixPattern("O'Brien or")}}));
    EXPECT_FALSE(bound("fio like :typed", {{"typed", "x' or fio like '%"}}));
    EXPECT_TRUE(bound("smena = :Shift and fio = :fio", {{"shift", 2}, {"FIO", "o'brien OR X"}}));
    EXPECT_FALSE(bound("smena > :shift", {{"shift", 10}}));
    EXPECT_THROW(bound("fio = :missing", {}), InternalError);
}

TEST(FilterExpression, RefusesBrokenExpressions)
{
    for (const char* broken : {"fio like", "fio = 'open", "(smena = 1", "= 2", "smena ~ 2"})
        EXPECT_THROW(FilterExpression::parse(QString::fromUtf8(broken)), InternalError) << broken;
}

}  // namespace
