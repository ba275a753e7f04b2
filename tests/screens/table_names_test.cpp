// The names of a catalogue shown in a table list.
#include <gtest/gtest.h>

#include "memory_controls.h"
#include "screens/database_gateway.h"
#include "scripted_platform.h"

namespace dorvane::testing {
namespace {

TEST(ShowTableNames, ReplacesTheEntriesAndLetsEventsRunBeforeEachName) {
    core::MemoryListBox list{false};  // unsorted, to show the order of the additions
    list.add(QStringLiteral("left over"));
    ScriptedPlatform platform;
    std::vector<int> entriesAtEachYield;
    platform.onProcessEvents = [&] { entriesAtEachYield.push_back(list.count()); };

    screens::showTableNames(list, {QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")},
                            platform);

    EXPECT_EQ(list.texts(), (std::vector<QString>{"b", "a", "c"}));  // in the catalogue's order
    EXPECT_EQ(entriesAtEachYield, (std::vector<int>{0, 1, 2}));
}

TEST(ShowTableNames, NoNamesEmptyTheListWithoutAYield) {
    core::MemoryListBox list;
    list.add(QStringLiteral("left over"));
    ScriptedPlatform platform;
    screens::showTableNames(list, {}, platform);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(platform.processEventsCalls, 0);
}

}  // namespace
}  // namespace dorvane::testing
