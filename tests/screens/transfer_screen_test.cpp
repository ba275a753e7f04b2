// The transfer screen without servers: its load step, the selection commands, "< Back",
// "Help", the stored boxes and the one-command-at-a-time rule.
#include <gtest/gtest.h>

#include <QFile>

#include "screens_harness.h"

namespace dorvane::testing {
namespace {

void fill(core::MemoryListBox& list, std::initializer_list<const char*> names) {
    for (const char* name : names) list.add(QString::fromLatin1(name));
}

TEST(TransferScreenLoad, RunsOnceOnFirstUse) {
    ScreensHarness h;
    EXPECT_FALSE(h.transferScreen.loaded());
    h.transferScreen.controls();
    EXPECT_TRUE(h.transferScreen.loaded());
    EXPECT_EQ(h.transferWindow.caption(), "Dorvane");
    EXPECT_TRUE(h.transferWindow.hasFormColors);
    EXPECT_EQ(h.transferWindow.appIconCount, 1);
    // Top of the "Fast copy" row below "< Back" (397 px) plus its height (27 px), in
    // twips, plus 580 twips.
    EXPECT_EQ(h.transferWindow.outerHeightTwips(), (397 + 27) * 15 + 580);

    h.transferScreen.show();
    h.transferScreen.controls();
    EXPECT_EQ(h.transferWindow.appIconCount, 1);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(TransferScreenLoad, UnreadableCursorFileIsReportedAtLine108AndTheRestStillRuns) {
    ScreensHarness h;
    QFile file(h.folder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(40, '\0'));
    file.close();

    h.transferScreen.show();
    ASSERT_EQ(h.platform.errorReports().size(), 1u);
    EXPECT_TRUE(h.platform.errorReports().front().contains(
        QStringLiteral("in Ambrelin2021/08/31.Form2.Form_Load at line 108")));
    EXPECT_EQ(h.transferWindow.caption(), "Dorvane");
    // Down to the row of "Fast copy" below "< Back".
    EXPECT_EQ(h.transferWindow.outerHeightTwips(), 6940);
    EXPECT_TRUE(h.transferWindow.visible());
}

TEST(SelectionCommands, TouchOnlyTheirOwnList) {
    ScreensHarness h;
    fill(h.mssqlTables, {"orders", "Customers", "items"});
    fill(h.postgresTables, {"a", "b"});
    h.postgresTables.setSelected(1, true);

    h.transferScreen.selectAll(screens::TableSide::SqlServer);
    EXPECT_EQ(h.mssqlTables.selectedCount(), 3);
    EXPECT_FALSE(h.postgresTables.selected(0));
    EXPECT_TRUE(h.postgresTables.selected(1));
    EXPECT_EQ(h.mssqlTables.currentIndex(), -1);

    h.transferScreen.deselectAll(screens::TableSide::Postgres);
    EXPECT_EQ(h.postgresTables.selectedCount(), 0);
    EXPECT_EQ(h.mssqlTables.selectedCount(), 3);

    h.transferScreen.selectAll(screens::TableSide::Postgres);
    h.transferScreen.deselectAll(screens::TableSide::SqlServer);
    EXPECT_EQ(h.mssqlTables.selectedCount(), 0);
    EXPECT_EQ(h.postgresTables.selectedCount(), 2);
    // Entries and their order stay.
    EXPECT_EQ(h.mssqlTables.texts(), (std::vector<QString>{"Customers", "items", "orders"}));
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(SelectionCommands, EmptyListShowsNothing) {
    ScreensHarness h;
    h.transferScreen.selectAll(screens::TableSide::SqlServer);
    h.transferScreen.deselectAll(screens::TableSide::Postgres);
    EXPECT_EQ(h.mssqlTables.count(), 0);
    EXPECT_TRUE(h.platform.messages.empty());
}

TEST(BackAndHelp, BackSwapsTheWindowsAndKeepsTheLists) {
    ScreensHarness h;
    fill(h.mssqlTables, {"orders"});
    h.mssqlTables.click(0);
    h.transferScreen.show();
    h.connectionWindow.hide();

    h.transferScreen.back();
    EXPECT_TRUE(h.connectionWindow.visible());
    EXPECT_FALSE(h.transferWindow.visible());
    EXPECT_EQ(h.mssqlTables.count(), 1);
    EXPECT_TRUE(h.mssqlTables.selected(0));
}

TEST(BackAndHelp, HelpNamesTheContactPage) {
    ScreensHarness h;
    h.transferScreen.showHelp();
    ASSERT_EQ(h.platform.messages.size(), 1u);
    const ShownMessage& m = h.platform.messages.front();
    EXPECT_EQ(m.text, "Questions? Please contact Team Quenlor at https://www.quenlor.com/contact");
    EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
    EXPECT_EQ(m.icon, core::MsgIcon::None);
    EXPECT_EQ(m.title, h.platform.appTitle());
}

TEST(CustomizationBoxes, ClicksStoreTheirOwnKeys) {
    ScreensHarness h;
    h.customizeToPostgres.setValue(1);
    EXPECT_EQ(h.stored("With Data Type Change 1"), "1");
    EXPECT_EQ(h.stored("With Data Type Change 2"), "<absent>");
    h.customizeToSqlServer.setValue(1);
    h.customizeToPostgres.setValue(0);
    EXPECT_EQ(h.stored("With Data Type Change 1"), "0");
    EXPECT_EQ(h.stored("With Data Type Change 2"), "1");
}

// A pair of boxes under the frames, one per direction, each stored under its own key.
struct StoredBoxes {
    const char* name;
    core::MemoryCheckBox ScreensHarness::*toPostgres;
    core::MemoryCheckBox ScreensHarness::*toSqlServer;
    const char* postgresKey;
    const char* sqlServerKey;
};

class StoredBoxPair : public ::testing::TestWithParam<StoredBoxes> {};

TEST_P(StoredBoxPair, ClicksStoreTheirOwnKeysAndTheNextStartRestoresThem) {
    const StoredBoxes& b = GetParam();
    ScreensHarness h;
    h.transferScreen.show();
    EXPECT_EQ((h.*b.toPostgres).value(), 0);  // unticked until the user ticks it
    EXPECT_EQ((h.*b.toSqlServer).value(), 0);
    (h.*b.toSqlServer).setValue(1);
    EXPECT_EQ(h.stored(b.postgresKey), "<absent>");
    EXPECT_EQ(h.stored(b.sqlServerKey), "1");

    ScreensHarness next(h.folder.filePath(QStringLiteral("Quenlor.ini")));
    next.transferScreen.show();
    EXPECT_EQ((next.*b.toPostgres).value(), 0);
    EXPECT_EQ((next.*b.toSqlServer).value(), 1);
    (next.*b.toPostgres).setValue(1);
    (next.*b.toSqlServer).setValue(0);
    EXPECT_EQ(next.stored(b.postgresKey), "1");
    EXPECT_EQ(next.stored(b.sqlServerKey), "0");
    // No other box is touched: neither the customization boxes nor the other pair.
    EXPECT_EQ(next.stored("With Data Type Change 1"), "<absent>");
    for (const char* key : {"Fast Copy 1", "Fast Copy 2", "Natural Types 1", "Natural Types 2"}) {
        if (qstrcmp(key, b.postgresKey) != 0 && qstrcmp(key, b.sqlServerKey) != 0) {
            EXPECT_EQ(next.stored(key), "<absent>") << key;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    TransferScreen, StoredBoxPair,
    ::testing::Values(StoredBoxes{"FastCopy", &ScreensHarness::fastCopyToPostgres,
                                  &ScreensHarness::fastCopyToSqlServer, "Fast Copy 1",
                                  "Fast Copy 2"},
                      StoredBoxes{"NaturalTypes", &ScreensHarness::naturalTypesToPostgres,
                                  &ScreensHarness::naturalTypesToSqlServer, "Natural Types 1",
                                  "Natural Types 2"}),
    [](const ::testing::TestParamInfo<StoredBoxes>& info) { return std::string(info.param.name); });

TEST(OneCommandAtATime, CommandsAreIgnoredWhileAnotherRuns) {
    ScreensHarness h;
    h.transferScreen.show();
    h.connectionWindow.hide();
    fill(h.mssqlTables, {"orders"});
    {
        screens::CommandGuard::Scope running(h.commands);
        h.transferScreen.back();
        h.transferScreen.sendToPostgres();
        h.transferScreen.sendToSqlServer();
        h.transferScreen.deleteTables(screens::TableSide::SqlServer);
        h.transferScreen.renameTable(screens::TableSide::Postgres);
        h.connectionScreen.next();
        EXPECT_TRUE(h.transferWindow.visible());
        EXPECT_FALSE(h.connectionWindow.visible());
        EXPECT_TRUE(h.databases.calls.empty());
        EXPECT_TRUE(h.platform.messages.empty());

        // Selection and help still run.
        h.transferScreen.selectAll(screens::TableSide::SqlServer);
        EXPECT_EQ(h.mssqlTables.selectedCount(), 1);
        h.transferScreen.showHelp();
        EXPECT_EQ(h.platform.messages.size(), 1u);
    }
    h.transferScreen.back();
    EXPECT_TRUE(h.connectionWindow.visible());
}

// With nothing current, a command asks for a table before it opens anything.
TEST(CommandDispatch, ButtonsReachTheirCommands) {
    ScreensHarness h;
    h.transferScreen.sendToPostgres();
    h.transferScreen.sendToSqlServer();
    h.transferScreen.deleteTables(screens::TableSide::SqlServer);
    ASSERT_EQ(h.platform.messages.size(), 3u);
    for (const QString& text : h.platform.messageTexts())
        EXPECT_TRUE(text.startsWith(QStringLiteral("Please select a table"))) << text.toStdString();
    EXPECT_TRUE(h.platform.errorReports().empty());
    EXPECT_FALSE(h.commands.running());
}

}  // namespace
}  // namespace dorvane::testing
