#include <gtest/gtest.h>

#include "core/list_helpers.h"
#include "memory_controls.h"

namespace dorvane::testing {
namespace {

core::MemoryListBox unsortedList(std::initializer_list<const char*> items) {
    core::MemoryListBox list(false);
    for (const char* t : items) list.add(QString::fromLatin1(t));
    return list;
}

TEST(ListContains, IgnoresCaseAndNeedsTheWholeText) {
    const auto list = unsortedList({"Orders", "customers"});
    EXPECT_TRUE(core::listContains(list, QStringLiteral("CUSTOMERS")));
    EXPECT_FALSE(core::listContains(list, QStringLiteral("cust")));
    EXPECT_FALSE(core::listContains(core::MemoryListBox(), QStringLiteral("x")));
}

TEST(ListRemove, ExactMatchesWithTheIndexAdvancingAfterARemoval) {
    auto list = unsortedList({"customers", "orders"});
    core::listRemove(list, QStringLiteral("customers"));
    EXPECT_EQ(list.texts(), std::vector<QString>{"orders"});
    core::listRemove(list, QStringLiteral("Orders"));
    EXPECT_EQ(list.texts(), std::vector<QString>{"orders"});

    auto twice = unsortedList({"a", "a", "b"});
    core::listRemove(twice, QStringLiteral("a"));
    EXPECT_EQ(twice.texts(), (std::vector<QString>{"a", "b"}));

    auto empties = unsortedList({"", "x"});
    EXPECT_NO_THROW(core::listRemove(empties, QString()));
    EXPECT_EQ(empties.texts(), std::vector<QString>{"x"});
}

}  // namespace
}  // namespace dorvane::testing
