#include <gtest/gtest.h>

#include <stdexcept>

#include "core/error_report.h"
#include "core/procedure.h"
#include "scripted_platform.h"

namespace dorvane::testing {
namespace {

const QString kTail =
    QStringLiteral("Please email screenshot of this message to ") + core::kSupportEmail;

TEST(ErrorReport, TextIsExactWithAndWithoutStatement) {
    const QString label = core::locationLabel(QStringLiteral("Main"), QStringLiteral("ExecuteSQL"));
    EXPECT_EQ(label, QStringLiteral("in Ambrelin2021/08/31.Main.ExecuteSQL "));
    EXPECT_EQ(
        core::errorReportText(QStringLiteral("boom"), label, 100),
        QStringLiteral("boom\r\nin Ambrelin2021/08/31.Main.ExecuteSQL at line 100\r\r") + kTail);
    EXPECT_EQ(core::errorReportText(QStringLiteral("boom"), label, 7, QStringLiteral("SELECT 1")),
              QStringLiteral("boom\r\nin Ambrelin2021/08/31.Main.ExecuteSQL at line 7\r\r") +
                  kTail + QStringLiteral("\r\rsql: SELECT 1"));
    // An empty statement still gets its tail.
    EXPECT_TRUE(
        core::errorReportText(QStringLiteral("x"), label, 1, QString()).endsWith("\r\rsql: "));
}

class ProcedureTest : public ::testing::Test {
  protected:
    ScriptedPlatform platform;
    core::Procedure p{platform, QStringLiteral("Form2"), QStringLiteral("PushButton9_Click")};
    static void fail(const char* what) { throw std::runtime_error(what); }
};

TEST_F(ProcedureTest, FailingStepIsReportedAndTheNextStepRuns) {
    std::vector<int> ran;
    EXPECT_FALSE(p.step(100, [&] {
        fail("first failed");
        ran.push_back(100);
    }));
    EXPECT_TRUE(p.step(102, [&] { ran.push_back(102); }));
    EXPECT_EQ(ran, std::vector<int>{102});
    ASSERT_EQ(platform.messages.size(), 1u);
    const ShownMessage& m = platform.messages[0];
    EXPECT_EQ(m.text,
              QStringLiteral(
                  "first failed\r\nin Ambrelin2021/08/31.Form2.PushButton9_Click at line 100\r\r") +
                  kTail);
    EXPECT_EQ(m.title, QStringLiteral("Application Error"));
    EXPECT_EQ(m.icon, core::MsgIcon::Exclamation);
    EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
}

TEST_F(ProcedureTest, FailureBeforeTheFirstNumberedLineReportsLineZero) {
    p.unnumbered([] { fail("early"); });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(
        platform.messages[0].text.contains(QStringLiteral("PushButton9_Click at line 0\r\r")));
}

TEST_F(ProcedureTest, FailingConditionRunsItsGuardedSteps) {
    bool guardedRan = false;
    if (p.test(110, [&]() -> bool {
            fail("bad test");
            return false;
        })) {
        p.step(112, [&] { guardedRan = true; });
    }
    EXPECT_TRUE(guardedRan);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.contains(QStringLiteral("at line 110")));
    EXPECT_FALSE(p.test(114, [] { return false; }));
}

TEST_F(ProcedureTest, LoopGoesOnAfterAFailingPass) {
    std::vector<int> done;
    for (int i = 0; i < 4; ++i) {
        p.step(120, [&] {
            if (i == 1) fail("pass 1 failed");
        });
        p.step(122, [&] { done.push_back(i); });
    }
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ProcedureTest, ValuesOfAFailedStepKeepWhatTheyHeld) {
    int value = 5;
    p.step(100, [&] {
        fail("x");
        value = 9;
    });
    EXPECT_EQ(value, 5);
}

TEST_F(ProcedureTest, StatementTailShowsTheTextAtTheMomentOfFailure) {
    QString statement;
    p.showStatementInReport(&statement);
    p.step(100, [] { fail("a"); });
    statement = QStringLiteral("INSERT INTO \"t\" VALUES(1");
    p.step(102, [] { fail("b"); });
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[0].text.endsWith(kTail + QStringLiteral("\r\rsql: ")));
    EXPECT_TRUE(
        platform.messages[1].text.endsWith(QStringLiteral("\r\rsql: INSERT INTO \"t\" VALUES(1")));
}

TEST_F(ProcedureTest, UnknownFailureStillGetsADescription) {
    p.step(100, [] { throw 42; });
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Unknown error\r\n")));
}

}  // namespace
}  // namespace dorvane::testing
