#include <gtest/gtest.h>

#include <cstdint>

#include "db/values/ado_type.h"
#include "sql/sql_quoting.h"

namespace dorvane::testing {
namespace {

TEST(AdoTypeName, NamesEveryCodeOfTheTableAndNothingElse) {
    const auto name = [](int code) { return db::adoTypeName(static_cast<db::AdoType>(code)); };
    EXPECT_EQ(name(135), QStringLiteral("adDBTimeStamp"));
    EXPECT_EQ(name(7), QStringLiteral("adDate"));
    EXPECT_EQ(name(202), QStringLiteral("adVarWChar"));
    EXPECT_EQ(name(0), QStringLiteral("adEmpty"));
    EXPECT_EQ(name(17), QStringLiteral("adUnsignedTinyInt"));
    EXPECT_EQ(name(72), QStringLiteral("adGUID"));
    for (int code : {1, 15, -1, 999, 206}) EXPECT_TRUE(name(code).isEmpty()) << code;
    int named = 0;
    for (int code = -32768; code <= 32767; ++code)
        if (!name(code).isEmpty()) ++named;
    EXPECT_EQ(named, 39);
}

TEST(SqlQuoting, DoublesOnlyTheClosingCharacter) {
    EXPECT_EQ(sql::bracketedName(QStringLiteral("Sales")), QStringLiteral("[Sales]"));
    EXPECT_EQ(sql::bracketedName(QStringLiteral("a]b[c")), QStringLiteral("[a]]b[c]"));
    EXPECT_EQ(sql::doubleQuotedName(QStringLiteral("a\"b]")), QStringLiteral("\"a\"\"b]\""));
    EXPECT_EQ(sql::singleQuotedText(QStringLiteral("O'Brien\\")), QStringLiteral("'O''Brien\\'"));
}

}  // namespace
}  // namespace dorvane::testing
