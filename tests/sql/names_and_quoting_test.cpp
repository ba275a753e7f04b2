#include <gtest/gtest.h>

#include <cstdint>

#include "sql/sql_quoting.h"
#include "sql/type_names.h"

namespace dorvane::testing {
namespace {

TEST(AdoTypeName, NamesEveryCodeOfTheTableAndNothingElse) {
    EXPECT_EQ(adoTypeName(135), QStringLiteral("adDBTimeStamp"));
    EXPECT_EQ(adoTypeName(7), QStringLiteral("adDate"));
    EXPECT_EQ(adoTypeName(202), QStringLiteral("adVarWChar"));
    EXPECT_EQ(adoTypeName(0), QStringLiteral("adEmpty"));
    EXPECT_EQ(adoTypeName(17), QStringLiteral("adUnsignedTinyInt"));
    for (int code : {1, 15, -1, 999, 206}) EXPECT_TRUE(adoTypeName(static_cast<std::int16_t>(code)).isEmpty()) << code;
    int named = 0;
    for (int code = -32768; code <= 32767; ++code)
        if (!adoTypeName(static_cast<std::int16_t>(code)).isEmpty()) ++named;
    EXPECT_EQ(named, 39);
}

TEST(SqlQuoting, DoublesOnlyTheClosingCharacter) {
    EXPECT_EQ(bracketedName(QStringLiteral("Sales")), QStringLiteral("[Sales]"));
    EXPECT_EQ(bracketedName(QStringLiteral("a]b[c")), QStringLiteral("[a]]b[c]"));
    EXPECT_EQ(doubleQuotedName(QStringLiteral("a\"b]")), QStringLiteral("\"a\"\"b]\""));
    EXPECT_EQ(singleQuotedText(QStringLiteral("O'Brien\\")), QStringLiteral("'O''Brien\\'"));
}

}  // namespace
}  // namespace dorvane::testing
