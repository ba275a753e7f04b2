#include <gtest/gtest.h>

#include "app/memory_controls.h"
#include "transfer/list_helpers.h"
#include "transfer/sql_quoting.h"
#include "transfer/type_names.h"

namespace dorvane::testing {
namespace {

MemoryListBox unsortedList(std::initializer_list<const char*> items) {
    MemoryListBox list(false);
    for (const char* t : items) list.add(QString::fromLatin1(t));
    return list;
}

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

TEST(ListContains, IgnoresCaseAndNeedsTheWholeText) {
    const auto list = unsortedList({"Orders", "customers"});
    EXPECT_TRUE(listContains(list, QStringLiteral("CUSTOMERS")));
    EXPECT_FALSE(listContains(list, QStringLiteral("cust")));
    EXPECT_FALSE(listContains(MemoryListBox(), QStringLiteral("x")));
}

TEST(ListRemove, ExactMatchesWithTheIndexAdvancingAfterARemoval) {
    auto list = unsortedList({"customers", "orders"});
    listRemove(list, QStringLiteral("customers"));
    EXPECT_EQ(list.texts(), std::vector<QString>{"orders"});
    listRemove(list, QStringLiteral("Orders"));
    EXPECT_EQ(list.texts(), std::vector<QString>{"orders"});

    auto twice = unsortedList({"a", "a", "b"});
    listRemove(twice, QStringLiteral("a"));
    EXPECT_EQ(twice.texts(), (std::vector<QString>{"a", "b"}));

    auto empties = unsortedList({"", "x"});
    EXPECT_NO_THROW(listRemove(empties, QString()));
    EXPECT_EQ(empties.texts(), std::vector<QString>{"x"});
}

TEST(IfNull, OnlyNullTakesTheFallback) {
    const db::Value empty = db::Value::text(QString());
    EXPECT_EQ(ifNull(db::Value(), empty), empty);
    EXPECT_EQ(ifNull(empty, db::Value::text(QStringLiteral("fallback"))), empty);
    EXPECT_EQ(ifNull(db::Value::integer(0), empty), db::Value::integer(0));
    EXPECT_EQ(ifNull(db::Value::boolean(false), empty), db::Value::boolean(false));
}

TEST(SqlQuoting, DoublesOnlyTheClosingCharacter) {
    EXPECT_EQ(bracketedName(QStringLiteral("Sales")), QStringLiteral("[Sales]"));
    EXPECT_EQ(bracketedName(QStringLiteral("a]b[c")), QStringLiteral("[a]]b[c]"));
    EXPECT_EQ(doubleQuotedName(QStringLiteral("a\"b]")), QStringLiteral("\"a\"\"b]\""));
    EXPECT_EQ(singleQuotedText(QStringLiteral("O'Brien\\")), QStringLiteral("'O''Brien\\'"));
}

}  // namespace
}  // namespace dorvane::testing
