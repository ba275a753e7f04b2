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
    h.form1.startUp();  // both connect: the transfer screen opens with both lists
    ASSERT_TRUE(h.form2Window.visible());
    int index = -1;
    for (int i = 0; i < h.list1.count(); ++i)
        if (h.list1.text(i) == t) index = i;
    ASSERT_GE(index, 0);
    h.list1.setSelected(index, true);
    h.list1.setCurrentIndex(index);
    h.platform.messages.clear();

    int clicks = 0;
    h.platform.onProcessEvents = [&] {
        if (clicks++ != 2) return;
        h.form2.sendToPostgres();
        h.form2.sendToSqlServer();
        h.form2.deleteTables(TableSide::SqlServer);
        h.form2.renameTable(TableSide::SqlServer);
        h.form2.back();
    };

    h.form2.sendToPostgres();

    EXPECT_GT(clicks, 2);
    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messages.front().text.toStdString();
    EXPECT_TRUE(h.platform.inputPrompts.empty());
    EXPECT_TRUE(h.form2Window.visible());
    EXPECT_TRUE(mssqlTableExists(t));
    EXPECT_TRUE(copiedToPostgres(t, t));
    EXPECT_EQ(occurrences(h.list2, t.toLower()), 1);
    EXPECT_EQ(occurrences(h.list1, t), 1);
    EXPECT_EQ(h.progressBar1.value(), 0);
    EXPECT_EQ(h.progressBar1.text(), "Progress Bar");
}

}  // namespace
}  // namespace dorvane::testing
