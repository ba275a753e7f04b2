// The transfer screen without servers: its load step, the selection commands, "< Back",
// "Help", the customization boxes and the one-command-at-a-time rule.
#include <gtest/gtest.h>

#include <QFile>

#include "screens_harness.h"

namespace dorvane::testing {
namespace {

void fill(MemoryListBox& list, std::initializer_list<const char*> names) {
    for (const char* name : names) list.add(QString::fromLatin1(name));
}

TEST(TransferScreenLoad, RunsOnceOnFirstUse) {
    ScreensHarness h;
    EXPECT_FALSE(h.form2.loaded());
    h.form2.controls();
    EXPECT_TRUE(h.form2.loaded());
    EXPECT_EQ(h.form2Window.caption(), "Dorvane");
    EXPECT_TRUE(h.form2Window.hasFormColors);
    EXPECT_EQ(h.form2Window.appIconCount, 1);
    // Top of "< Back" (364 px) plus its height (27 px), in twips, plus 580 twips.
    EXPECT_EQ(h.form2Window.outerHeightTwips(), (364 + 27) * 15 + 580);

    h.form2.show();
    h.form2.controls();
    EXPECT_EQ(h.form2Window.appIconCount, 1);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(TransferScreenLoad, UnreadableCursorFileIsReportedAtLine108AndTheRestStillRuns) {
    ScreensHarness h;
    QFile file(h.folder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(40, '\0'));
    file.close();

    h.form2.show();
    ASSERT_EQ(h.platform.errorReports().size(), 1u);
    EXPECT_TRUE(h.platform.errorReports().front().contains(
        QStringLiteral("in Ambrelin2021/08/31.Form2.Form_Load at line 108")));
    EXPECT_EQ(h.form2Window.caption(), "Dorvane");
    EXPECT_EQ(h.form2Window.outerHeightTwips(), 6445);
    EXPECT_TRUE(h.form2Window.visible());
}

TEST(SelectionCommands, TouchOnlyTheirOwnList) {
    ScreensHarness h;
    fill(h.list1, {"orders", "Customers", "items"});
    fill(h.list2, {"a", "b"});
    h.list2.setSelected(1, true);

    h.form2.selectAll(TableSide::SqlServer);
    EXPECT_EQ(h.list1.selectedCount(), 3);
    EXPECT_FALSE(h.list2.selected(0));
    EXPECT_TRUE(h.list2.selected(1));
    EXPECT_EQ(h.list1.currentIndex(), -1);

    h.form2.deselectAll(TableSide::Postgres);
    EXPECT_EQ(h.list2.selectedCount(), 0);
    EXPECT_EQ(h.list1.selectedCount(), 3);

    h.form2.selectAll(TableSide::Postgres);
    h.form2.deselectAll(TableSide::SqlServer);
    EXPECT_EQ(h.list1.selectedCount(), 0);
    EXPECT_EQ(h.list2.selectedCount(), 2);
    // Entries and their order stay.
    EXPECT_EQ(h.list1.texts(), (std::vector<QString>{"Customers", "items", "orders"}));
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(SelectionCommands, EmptyListShowsNothing) {
    ScreensHarness h;
    h.form2.selectAll(TableSide::SqlServer);
    h.form2.deselectAll(TableSide::Postgres);
    EXPECT_EQ(h.list1.count(), 0);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(BackAndHelp, BackSwapsTheWindowsAndKeepsTheLists) {
    ScreensHarness h;
    fill(h.list1, {"orders"});
    h.list1.click(0);
    h.form2.show();
    h.form1Window.hide();

    h.form2.back();
    EXPECT_TRUE(h.form1Window.visible());
    EXPECT_FALSE(h.form2Window.visible());
    EXPECT_EQ(h.list1.count(), 1);
    EXPECT_TRUE(h.list1.selected(0));
}

TEST(BackAndHelp, HelpNamesTheContactPage) {
    ScreensHarness h;
    h.form2.showHelp();
    ASSERT_EQ(h.platform.messages.size(), 1u);
    const ShownMessage& m = h.platform.messages.front();
    EXPECT_EQ(m.text, "Questions? Please contact Team Quenlor at https://www.quenlor.com/contact");
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(m.icon, MsgIcon::None);
    EXPECT_EQ(m.title, h.platform.appTitle());
}

TEST(CustomizationBoxes, ClicksStoreTheirOwnKeys) {
    ScreensHarness h;
    h.check15.setValue(1);
    EXPECT_EQ(h.stored("With Data Type Change 1"), "1");
    EXPECT_EQ(h.stored("With Data Type Change 2"), "<absent>");
    h.check16.setValue(1);
    h.check15.setValue(0);
    EXPECT_EQ(h.stored("With Data Type Change 1"), "0");
    EXPECT_EQ(h.stored("With Data Type Change 2"), "1");
}

TEST(OneCommandAtATime, CommandsAreIgnoredWhileAnotherRuns) {
    ScreensHarness h;
    h.form2.show();
    h.form1Window.hide();
    fill(h.list1, {"orders"});
    {
        CommandGuard::Scope running(h.commands);
        h.form2.back();
        h.form2.sendToPostgres();
        h.form2.sendToSqlServer();
        h.form2.deleteTables(TableSide::SqlServer);
        h.form2.renameTable(TableSide::Postgres);
        h.form1.next();
        EXPECT_TRUE(h.form2Window.visible());
        EXPECT_FALSE(h.form1Window.visible());
        EXPECT_TRUE(h.databases.calls.empty());
        EXPECT_TRUE(h.platform.messages.empty());

        // Selection and help still run.
        h.form2.selectAll(TableSide::SqlServer);
        EXPECT_EQ(h.list1.selectedCount(), 1);
        h.form2.showHelp();
        EXPECT_EQ(h.platform.messages.size(), 1u);
    }
    h.form2.back();
    EXPECT_TRUE(h.form1Window.visible());
}

// With nothing current, a command asks for a table before it opens anything.
TEST(CommandDispatch, ButtonsReachTheirCommands) {
    ScreensHarness h;
    h.form2.sendToPostgres();
    h.form2.sendToSqlServer();
    h.form2.deleteTables(TableSide::SqlServer);
    ASSERT_EQ(h.platform.messages.size(), 3u);
    for (const QString& text : h.platform.messageTexts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("Please select a table"))) << text.toStdString();
    EXPECT_TRUE(h.platform.errorReports().empty());
    EXPECT_FALSE(h.commands.running());
}

TEST(TransferScreenUnload, EndsTheProgram) {
    ScreensHarness h;
    h.form2.unloaded();
    EXPECT_EQ(h.platform.endProgramCalls, 1);
}

}  // namespace
}  // namespace dorvane::testing
