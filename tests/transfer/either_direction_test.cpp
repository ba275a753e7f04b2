// What a copy does the same way towards either server, against both test servers.

#include <gtest/gtest.h>

#include "copy_check.h"
#include "directions.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

using db::Value;

// What differs between the directions in the cases below.
struct DirectionCase {
    Direction d;
    // The answer when the source list has neither a current nor a selected entry.
    const char* selectATable;
    // Makes a source table whose CREATE on the target fails, though the target list does
    // not name it; then checks that the failure left the target as it was.
    std::function<void(const QString&)> makeCreateFail;
    std::function<void(const QString&)> expectFailedCreateChangedNothing;
};

void PrintTo(const DirectionCase& c, std::ostream* os) {
    PrintTo(c.d, os);
}

const DirectionCase kToPostgresCase{
    .d = kToPostgres,
    .selectATable = "Please select a table",
    .makeCreateFail =
        [](const QString& t) {
            // The target already holds a table of that name, the same shape as the source.
            execMssql(QStringLiteral("CREATE TABLE [%1]([n] INT)").arg(t));
            execMssql(QStringLiteral("INSERT INTO [%1] VALUES(5)").arg(t));
            execPostgres(QStringLiteral("CREATE TABLE \"%1\"(n NUMERIC)").arg(t));
            execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES(1)").arg(t));
        },
    .expectFailedCreateChangedNothing =
        [](const QString& t) {
            EXPECT_EQ(kPostgresSide.rows(t), (Rows{{db::Value::decimal("1")}}));
        },
};

const DirectionCase kToSqlServerCase{
    .d = kToSqlServer,
    .selectATable = "Please select a table to send.",
    .makeCreateFail =
        [](const QString& t) {
            // Columns a case-insensitive SQL Server takes for one name.
            execPostgres(QStringLiteral("CREATE TABLE \"%1\"(\"A\" TEXT, \"a\" TEXT)").arg(t));
            execPostgres(QStringLiteral("INSERT INTO \"%1\" VALUES('x', 'y')").arg(t));
        },
    .expectFailedCreateChangedNothing = [](const QString& t) { EXPECT_FALSE(mssqlTableExists(t)); },
};

class Transfer : public ::testing::TestWithParam<DirectionCase> {
  protected:
    TransferHarness h;
    const DirectionCase& c = GetParam();
    const Direction& d = c.d;
    core::MemoryListBox& sourceList() { return h.*d.source.list; }
    core::MemoryListBox& targetList() { return h.*d.target.list; }
    void send() { d.send(h.context, core::YieldPolicy::everyCall()); }
};

TEST_P(Transfer, OverwriteNoLeavesTheTableAndTheListAlone) {
    const QString t = uniqueName(QStringLiteral("keep"));
    d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT)");
    d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES(1)");
    d.target.exec("CREATE TABLE " + d.target.quote(t) + "(old VARCHAR(5))");
    d.target.exec("INSERT INTO " + d.target.quote(t) + " VALUES('old')");
    TransferHarness::select(sourceList(), {t});
    targetList().add(t);
    h.platform.answers = {core::kAnswerNo};

    send();

    EXPECT_EQ(h.platform.messages.size(), 1u);
    EXPECT_EQ(d.target.rows(t), (Rows{{db::Value::text("old")}}));
    EXPECT_EQ(targetList().texts(), (std::vector<QString>{t}));
}

TEST_P(Transfer, SelectedTablesAreVisitedFromTheBottomUp) {
    TransferHarness::select(sourceList(), {"order_a", "order_c", "order_b"});
    sourceList().add("order_unselected");
    for (const char* t : {"order_a", "order_b", "order_c", "order_unselected"}) targetList().add(t);
    h.platform.answers = {core::kAnswerNo, core::kAnswerNo, core::kAnswerNo};

    send();

    EXPECT_EQ(h.platform.messageTexts(),
              (std::vector<QString>{"Would you like to overwrite order_c?",
                                    "Would you like to overwrite order_b?",
                                    "Would you like to overwrite order_a?"}));
}

TEST_P(Transfer, TheProgressBarNamesTheTableAndItsRowsSentThenShowsItsCaptionAgain) {
    const QString t = uniqueName(QStringLiteral("Counted"));
    d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT)");
    for (int first : {1, 1001}) {  // at most 1 000 rows a statement on SQL Server
        QStringList rows;
        for (int n = first; n < first + 1000 && n <= 1200; ++n)
            rows << QStringLiteral("(%1)").arg(n);
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES " + rows.join(u','));
    }
    TransferHarness::select(sourceList(), {t});

    send();

    const std::vector<QString>& texts = h.progressBar.shownTexts;
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), t + ": 1 of 1 200 rows");
    EXPECT_EQ(texts[texts.size() - 2], t + ": 1 200 of 1 200 rows");
    EXPECT_EQ(texts.back(), "Progress Bar");
    EXPECT_LE(texts.size(), 103u);  // whole percents, not every row
}

TEST_P(Transfer, EmptySourceTableIsCreatedAndListed) {
    const QString t = uniqueName(QStringLiteral("Empty"));
    d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT, s VARCHAR(5))");
    TransferHarness::select(sourceList(), {t});
    int progressMoves = 0;
    h.platform.onProcessEvents = [&] { progressMoves += h.progressBar.value() != 0; };

    send();

    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(d.copied(t, t));
    if (d.target.server == Server::Postgres) {
        EXPECT_EQ(postgresColumns(t), (QStringList{"n numeric", "s text"}));
    }
    EXPECT_EQ(d.target.rowCount(t), 0);
    EXPECT_EQ(progressMoves, 0);
    EXPECT_EQ(targetList().texts(), (std::vector<QString>{t}));
}

TEST_P(Transfer, AFailedCreateStopsEveryLaterCreateInsertAndDrop) {
    // Processed in this order: the table whose CREATE fails, then a listed one the user
    // agrees to overwrite, then a fresh one.
    const QString stem = uniqueName(QStringLiteral("gate"));
    const QString failing = stem + "_c", overwrite = stem + "_b", fresh = stem + "_a";
    c.makeCreateFail(failing);
    for (const QString& t : {overwrite, fresh}) {
        d.source.exec("CREATE TABLE " + d.source.quote(t) + "(s VARCHAR(10))");
        d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES('new')");
    }
    // A column that takes the source's, so an INSERT that got through would succeed.
    d.target.exec("CREATE TABLE " + d.target.quote(overwrite) + "(s VARCHAR(8000))");
    d.target.exec("INSERT INTO " + d.target.quote(overwrite) + " VALUES('old')");
    TransferHarness::select(sourceList(), {fresh, overwrite, failing});
    targetList().add(overwrite);
    h.platform.answers = {core::kAnswerYes};

    send();

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains("in Ambrelin2021/08/31.Main.ExecuteSQL at line 100"));
    c.expectFailedCreateChangedNothing(failing);
    EXPECT_EQ(d.target.rows(overwrite), (Rows{{db::Value::text("old")}}));  // not dropped
    EXPECT_FALSE(d.target.exists(fresh));
    // Only what exists stays listed, and the run ends naming what it did not copy.
    EXPECT_EQ(targetList().texts(), (std::vector<QString>{overwrite}));
    EXPECT_EQ(h.platform.messages.back().text,
              "These tables were not copied, or not completely:\r\n\r\n" + failing + "\r\n" +
                  overwrite + "\r\n" + fresh);
}

TEST_P(Transfer, WithNeitherACurrentNorASelectedEntryOnlyTheMessageIsShown) {
    sourceList().add("anything");

    send();

    ASSERT_EQ(h.platform.messages.size(), 1u);
    EXPECT_EQ(h.platform.messages[0].text, c.selectATable);
    EXPECT_EQ(h.platform.messages[0].buttons, core::MsgButtons::Ok);
    EXPECT_EQ(h.platform.messages[0].icon, core::MsgIcon::None);
    EXPECT_EQ(h.platform.messages[0].title, h.platform.appTitle());
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
    EXPECT_TRUE(targetList().texts().empty());
}

TEST_P(Transfer, ACurrentEntryWithNothingSelectedDoesNothingVisible) {
    sourceList().add("first");
    sourceList().add("second");
    sourceList().setCurrentIndex(1);

    send();

    EXPECT_TRUE(h.platform.messages.empty());
    EXPECT_TRUE(targetList().texts().empty());
    EXPECT_EQ(h.pointer.pointer(), core::MousePointer::Default);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, Transfer,
                         ::testing::Values(kToPostgresCase, kToSqlServerCase),
                         [](const auto& info) { return std::string(info.param.d.name); });

}  // namespace
}  // namespace dorvane::testing
