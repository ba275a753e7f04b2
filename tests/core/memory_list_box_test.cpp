#include <gtest/gtest.h>

#include "memory_controls.h"

namespace dorvane::testing {
namespace {

TEST(MemoryListBox, AddsInCaseInsensitiveOrderWithoutMovingTheCurrentEntry) {
    core::MemoryListBox list;
    for (const char* t : {"orders", "Customers", "apple", "Zeta", "beta"})
        list.add(QString::fromLatin1(t));
    EXPECT_EQ(list.texts(), (std::vector<QString>{"apple", "beta", "Customers", "orders", "Zeta"}));
    list.setCurrentIndex(2);  // Customers
    list.add(QStringLiteral("Alpha"));
    EXPECT_EQ(list.text(list.currentIndex()), QStringLiteral("Customers"));
}

TEST(MemoryListBox, CurrentIsMinusOneWhenTheCurrentEntryGoes) {
    core::MemoryListBox list;
    EXPECT_EQ(list.currentIndex(), -1);
    list.add(QStringLiteral("a"));
    list.add(QStringLiteral("b"));
    list.add(QStringLiteral("c"));
    list.setCurrentIndex(1);
    list.remove(0);
    EXPECT_EQ(list.currentIndex(), 0);  // still "b"
    list.remove(0);
    EXPECT_EQ(list.currentIndex(), -1);
    list.setCurrentIndex(0);
    list.clear();
    EXPECT_EQ(list.currentIndex(), -1);
}

TEST(MemoryListBox, SelectionIsSeparateFromCurrentAndPastTheEndReadsEmpty) {
    core::MemoryListBox list;
    list.add(QStringLiteral("a"));
    list.add(QStringLiteral("b"));
    list.setSelected(1, true);
    EXPECT_EQ(list.currentIndex(), -1);
    EXPECT_EQ(list.selectedCount(), 1);
    EXPECT_EQ(list.text(2), QString());
    EXPECT_THROW(list.selected(2), std::out_of_range);
    list.click(0);
    EXPECT_EQ(list.currentIndex(), 0);
    EXPECT_TRUE(list.selected(0));
    EXPECT_FALSE(list.selected(1));
}

TEST(MemoryControls, ChangeAndClickEventsFireFromCode) {
    core::MemoryTextField field;
    std::vector<QString> changes;
    field.onChange = [&](const QString& t) { changes.push_back(t); };
    field.setText(QStringLiteral("x"));
    field.setText(QStringLiteral("x"));  // no change, no event
    field.setText(QString());
    EXPECT_EQ(changes, (std::vector<QString>{"x", ""}));

    core::MemoryCheckBox box;
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setValue(1);
    box.setValue(0);
    EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace dorvane::testing
