// Buttons clicked while a copy runs (it yields to the event loop): the other commands
// are ignored, the copy finishes whole, and the screen is left at rest.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "screens_harness.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

TEST(SecondCommand, ClicksDuringACopyAreIgnoredAndTheCopyFinishes) {
    const QString t = uniqueName(QStringLiteral("busy"));
    execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT, [s] NVARCHAR(10))").arg(t));
    execMssql(QStringLiteral("INSERT INTO [%1] VALUES(1, N'a'), (2, N'b'), (3, NULL)").arg(t));

    ScreensHarness h;
    h.storeServerProfiles();
    h.connectionScreen.startUp();  // both connect: the transfer screen opens with both lists
    ASSERT_TRUE(h.transferWindow.visible());
    int index = -1;
    for (int i = 0; i < h.mssqlTables.count(); ++i)
        if (h.mssqlTables.text(i) == t) index = i;
    ASSERT_GE(index, 0);
    h.mssqlTables.setSelected(index, true);
    h.mssqlTables.setCurrentIndex(index);
    h.platform.messages.clear();

    int clicks = 0;
    h.platform.onProcessEvents = [&] {
        if (clicks++ != 2) return;
        h.transferScreen.sendToPostgres();
        h.transferScreen.sendToSqlServer();
        h.transferScreen.deleteTables(screens::TableSide::SqlServer);
        h.transferScreen.renameTable(screens::TableSide::SqlServer);
        h.transferScreen.back();
    };

    h.transferScreen.sendToPostgres();

    EXPECT_GT(clicks, 2);
    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(h.platform.inputPrompts.empty());
    EXPECT_TRUE(h.transferWindow.visible());
    EXPECT_TRUE(mssqlTableExists(t));
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(occurrences(h.postgresTables, t.toLower()), 1);
    EXPECT_EQ(occurrences(h.mssqlTables, t), 1);
    EXPECT_EQ(h.progressBar.value(), 0);
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
}

}  // namespace
}  // namespace dorvane::testing
