// The widget adapters keep the behaviour the commands rely on where Qt's differs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>

#include "ui/widget_controls.h"

namespace dorvane::testing {
namespace {


class Widgets : public ::testing::Test {
  protected:
    void SetUp() override {
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    ui::TableListWidget list;
    ui::WidgetListBox box{&list};
};

TEST_F(Widgets, ListSortsIgnoringCaseAndKeepsTheCurrentEntry) {
    for (const char* n : {"orders", "Customers", "items"}) box.add(QString::fromLatin1(n));
    box.setCurrentIndex(1);  // items
    box.add(QStringLiteral("Accounts"));
    box.add(QStringLiteral("ITEMS"));  // after its equal
    EXPECT_EQ(box.text(0), "Accounts");
    EXPECT_EQ(box.text(2), "items");
    EXPECT_EQ(box.text(3), "ITEMS");
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.text(box.count()), "");
    EXPECT_EQ(box.selectedCount(), 0);
}

TEST_F(Widgets, RemovingTheCurrentEntryLeavesNoCurrentEntry) {
    for (const char* n : {"a", "b", "c"}) box.add(QString::fromLatin1(n));
    box.setSelected(2, true);
    box.setCurrentIndex(1);
    box.remove(1);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.count(), 2);
    EXPECT_FALSE(box.selected(0));
    EXPECT_TRUE(box.selected(1));

    box.setCurrentIndex(1);
    box.remove(0);  // another entry: the current one moves up with its item
    EXPECT_EQ(box.currentIndex(), 0);
    box.clear();
    EXPECT_EQ(box.currentIndex(), -1);
}

TEST_F(Widgets, SelectingFromCodeDoesNotMakeCurrent) {
    for (const char* n : {"a", "b"}) box.add(QString::fromLatin1(n));
    box.setSelected(1, true);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.selectedCount(), 1);
    EXPECT_THROW(box.selected(2), std::out_of_range);
    EXPECT_THROW(box.setCurrentIndex(5), std::out_of_range);
}

TEST_F(Widgets, TextFieldAndCheckBoxRaiseTheirEventsWhenSetFromCode) {
    QLineEdit edit;
    ui::WidgetTextField field(&edit);
    int changes = 0;
    QObject::connect(&edit, &QLineEdit::textChanged, [&] { ++changes; });
    field.setText(QStringLiteral("localhost"));
    field.setText(QStringLiteral("localhost"));  // no change, no event
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(field.text(), "localhost");

    QCheckBox check;
    ui::WidgetCheckBox box(&check);
    int clicks = 0;
    QObject::connect(&check, &QCheckBox::toggled, [&] { ++clicks; });
    box.setValue(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(box.value(), 1);
    box.setValue(0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Widgets, ProgressBarShowsItsTextLiterally) {
    QProgressBar bar;
    ui::WidgetProgressBar progress(&bar);
    EXPECT_EQ(bar.text(), "Progress Bar");
    EXPECT_EQ(bar.value(), 0);
    progress.setValue(42.5);
    progress.setText(QStringLiteral("orders 50%"));
    EXPECT_EQ(progress.value(), 42.5);
    EXPECT_EQ(bar.value(), 42);
    EXPECT_EQ(progress.text(), "orders 50%");
    EXPECT_EQ(bar.text().remove(QChar(0x200B)), "orders 50%");
    EXPECT_THROW(progress.setValue(101), std::out_of_range);
}

}  // namespace
}  // namespace dorvane::testing
