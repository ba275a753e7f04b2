// The connection screen's small behaviours: the help messages, the pointer rules, the
// profiles read from the fields, closing either window.
#include <gtest/gtest.h>

#include "screens_harness.h"

namespace dorvane::testing {
namespace {

TEST(PostgresHelp, ShowsBothSentencesWithoutABreakAndTheAddress) {
    ScreensHarness h;
    h.connectionScreen.showPostgresHelp();
    ASSERT_EQ(h.platform.messages.size(), 1u);
    const ShownMessage& m = h.platform.messages.front();
    EXPECT_EQ(m.text,
              "If you can not connect, please try downloading pgAdmin III. If you can not connect "
              "with that software, you know the login information you are providing here is "
              "incorrect.\r\n\r\nhttps://www.pgadmin.org/download/");
    EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
    EXPECT_EQ(m.icon, core::MsgIcon::None);
}

TEST(SqlServerHelp, AnsweringNoEndsTheHelp) {
    ScreensHarness h;
    h.platform.answers = {core::kAnswerNo};
    h.connectionScreen.showMssqlHelp();
    ASSERT_EQ(h.platform.messages.size(), 2u);
    const QString& text = h.platform.messages[0].text;
    EXPECT_TRUE(text.startsWith(
        "If you cannot establish connection to your MS SQL Server database with this program, "
        "please go to: \r\rhttps://"));
    EXPECT_TRUE(text.endsWith(
        "Download and install the EMS SQL Manager 2005 Lite for SQL Server. Try to connect to the "
        "same database (with the same login information you are using here). This will determine "
        "if the login you are using is correct.\r\rIf you are using Microsoft SQL Server Express "
        "Edition and connecting locally, you may need to use\r\rlocalhost\\SQLEXPRESS\r\rfor "
        "example, for Server."));
    EXPECT_EQ(h.platform.messages[1].text,
              "Would you like to see an image of how I connect locally?");
    EXPECT_EQ(h.platform.messages[1].buttons, core::MsgButtons::YesNo);
    EXPECT_EQ(h.platform.messages[1].icon, core::MsgIcon::None);
    EXPECT_TRUE(h.platform.shellTargets.empty());
}

TEST(SqlServerHelp, AnsweringYesOpensThePictureBesideTheProgram) {
    ScreensHarness h;
    h.platform.answers = {core::kAnswerYes};
    h.connectionScreen.showMssqlHelp();
    EXPECT_EQ(
        h.platform.shellTargets,
        std::vector<QString>{h.folder.filePath(QStringLiteral("local-connection-example.jpg"))});
    EXPECT_TRUE(h.platform.errorReports().empty());
}

TEST(SqlServerHelp, AViewerThatCannotStartIsReportedAtLine118) {
    ScreensHarness h;
    h.platform.answers = {core::kAnswerYes};
    h.platform.shellFails = true;
    h.connectionScreen.showMssqlHelp();
    ASSERT_EQ(h.platform.errorReports().size(), 1u);
    EXPECT_TRUE(h.platform.errorReports().front().contains(
        QStringLiteral("in Ambrelin2021/08/31.Form1.PushButton4_Click at line 118")));
}

TEST(PointerRules, BusyPointerStaysExceptOverThePostgresPassword) {
    ScreensHarness h;
    screens::MemoryWindow& w = h.connectionWindow;
    h.connectionScreen.mouseOverCommand();
    EXPECT_EQ(w.pointer(), core::MousePointer::Custom);
    h.connectionScreen.mouseOverPlainArea();
    EXPECT_EQ(w.pointer(), core::MousePointer::Default);

    w.setPointer(core::MousePointer::Busy);
    h.connectionScreen.mouseOverCommand();
    h.connectionScreen.mouseOverPlainArea();
    EXPECT_EQ(w.pointer(), core::MousePointer::Busy);
    h.connectionScreen.mouseOverPostgresPassword();
    EXPECT_EQ(w.pointer(), core::MousePointer::Default);
}

TEST(Profiles, AreReadFromTheFieldsAtTheMomentOfUse) {
    ScreensHarness h;
    for (int number = 1; number <= 10; ++number)
        h.typeInto(number, QStringLiteral("t%1").arg(number));
    const db::PostgresProfile pg = h.connectionScreen.postgres();
    EXPECT_EQ(pg.server, "t1");
    EXPECT_EQ(pg.port, "t2");
    EXPECT_EQ(pg.user, "t3");
    EXPECT_EQ(pg.password, "t4");
    EXPECT_EQ(pg.database, "t5");
    db::MssqlProfile ms = h.connectionScreen.mssql();
    EXPECT_EQ(ms.server, "t6");
    EXPECT_EQ(ms.user, "t7");
    EXPECT_EQ(ms.password, "t8");
    EXPECT_EQ(ms.database, "t9");
    EXPECT_EQ(ms.port, "t10");
    EXPECT_FALSE(ms.localConnection);
    h.localConnection.setValue(1);
    EXPECT_TRUE(h.connectionScreen.mssql().localConnection);
}

class WindowClosed : public ::testing::TestWithParam<bool> {};

TEST_P(WindowClosed, EndsTheProgram) {
    ScreensHarness h;
    const bool transferWindow = GetParam();
    if (transferWindow) {
        h.transferScreen.unloaded();
    } else {
        h.connectionScreen.unloaded();
    }
    EXPECT_EQ(h.platform.endProgramCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(EitherScreen, WindowClosed, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "Transfer" : "Connection");
});

}  // namespace
}  // namespace dorvane::testing
