#include "named_parameters.h"

#include <gtest/gtest.h>

namespace {

TEST(NamedParameters, BecomeNumberedPlaceholdersLeavingCastsQuotesAndCommentsAlone)
{
    struct Case {
        const char* sql;
        const char* text;
        QStringList names;
    };
    const Case cases[] = {
        {"select * from t where a=:A and b=:b", "select * from t where a=$1 and b=$2", {"a", "b"}},
        {"select s_code::t_id, :data::date", "select s_code::t_id, $1::date", {"data"}},
        {"where x=':not' and y=:y", "where x=':not' and y=$1", {"y"}},
        {"where x='it''s :no' and \"col:x\"=:v", "where x='it''s :no' and \"col:x\"=$1", {"v"}},
        {"-- :comment\nselect :a /* :b */ + :a", "-- :comment\nselect $1 /* :b */ + $1", {"a"}},
        {"select 'a:b' || :Ok", "select 'a:b' || $1", {"ok"}},
    };
    for (const Case& c : cases) {
        const ParsedStatement parsed = parseNamedParameters(QString::fromUtf8(c.sql));
        EXPECT_EQ(parsed.text, QString::fromUtf8(c.text)) << c.sql;
        EXPECT_EQ(parsed.names, c.names) << c.sql;
    }
}

}  // namespace
