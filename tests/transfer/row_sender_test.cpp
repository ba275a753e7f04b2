// Statements sent on a thread of their own while the caller goes on: they must run in
// order and whole, stop at the first that fails, and leave the user's reports in the
// order a copy that waits for each statement would show them.
#include <QElapsedTimer>
#include <stdexcept>

#include "../db/server_fixture.h"
#include "core/procedure.h"
#include "db/odbc/recordset.h"
#include "scripted_platform.h"
#include "sql/general_value_text.h"
#include "transfer/row_sender.h"
#include "transfer/statement_pipeline.h"

namespace dorvane::testing {
namespace {

class StatementPipelineTest : public DbServerTest {
  protected:
    QString insert(const QString& table, int n, const QString& note = QStringLiteral("x")) const {
        return QStringLiteral("INSERT INTO %1 VALUES (%2, %3)")
            .arg(table)
            .arg(n)
            .arg(unicodeLiteral(note));
    }
    // The n column of every row, in the order the rows went in.
    std::vector<int> numbersIn(const QString& table) {
        db::Connection connection = connect();
        db::Recordset rows = connection.query(selectAll(table));
        std::vector<int> numbers;
        for (; !rows.eof(); rows.moveNext())
            numbers.push_back(static_cast<int>(rows.value(0).asInteger()));
        return numbers;
    }
    QString noteType() const { return isPostgres() ? QStringLiteral("TEXT") : longTextType(); }
};

TEST_P(StatementPipelineTest, RunsEveryStatementInOrderThroughAFullQueue) {
    const QString table = createTable(QStringLiteral("pipe_order"), "n INT, note " + noteType());
    db::Connection target = connect();
    int waits = 0;
    transfer::StatementPipeline pipeline([&] { ++waits; }, transfer::PipelineLimits{4, 1 << 20});
    std::vector<int> expected;
    for (int n = 1; n <= 300; ++n) {
        pipeline.send(target, insert(table, n));
        expected.push_back(n);
    }
    EXPECT_EQ(pipeline.settle(), nullptr);
    EXPECT_FALSE(pipeline.failed());
    EXPECT_EQ(numbersIn(table), expected);
    // Settled, the connection is the caller's again.
    target.execute(insert(table, 301));
}

TEST_P(StatementPipelineTest, StatementsLongerThanTheQueueStillGoWhole) {
    const QString table = createTable(QStringLiteral("pipe_long"), "n INT, note " + noteType());
    db::Connection target = connect();
    transfer::StatementPipeline pipeline({}, transfer::PipelineLimits{64, 1024});
    const QString note = QStringLiteral("αβγ").repeated(20000);
    for (int n = 1; n <= 5; ++n) pipeline.send(target, insert(table, n, note));
    EXPECT_EQ(pipeline.settle(), nullptr);
    db::Recordset rows = connect().query(selectAll(table));
    int count = 0;
    for (; !rows.eof(); rows.moveNext(), ++count)
        EXPECT_TRUE(sql::valueText(rows.value(1)) == note) << "row " << count << " changed";
    EXPECT_EQ(count, 5);
}

TEST_P(StatementPipelineTest, AFailureStopsTheStatementsAfterItAndIsGivenOnce) {
    const QString table = createTable(QStringLiteral("pipe_fail"), "n INT, note " + noteType());
    db::Connection target = connect();
    transfer::StatementPipeline pipeline({});
    pipeline.send(target, insert(table, 1));
    pipeline.send(target, insert(table + QStringLiteral("_missing"), 2));
    for (int n = 3; n <= 20; ++n) pipeline.send(target, insert(table, n));

    const std::exception_ptr failure = pipeline.settle();
    ASSERT_NE(failure, nullptr);
    EXPECT_TRUE(core::failureDescription(failure).contains(table + QStringLiteral("_missing"),
                                                           Qt::CaseInsensitive))
        << core::failureDescription(failure).toStdString();
    EXPECT_TRUE(pipeline.failed());
    EXPECT_EQ(pipeline.settle(), nullptr);
    EXPECT_EQ(numbersIn(table), std::vector<int>{1});
}

// A turn that throws while the caller waits gives the statements up: the one running, which
// waits for a table another session holds, is cancelled, the ones queued after it are passed
// over, and the connection is the caller's again, its transaction open to be rolled back.
TEST_P(StatementPipelineTest, ATurnThatThrowsCancelsTheStatementRunningAndPassesOverTheRest) {
    const QString table = createTable(QStringLiteral("pipe_held"), "n INT, note " + noteType());
    db::Connection holder = connect();
    holder.beginTransaction();
    holder.execute(QStringLiteral("DROP TABLE ") + table);
    db::Connection target = connect();
    target.beginTransaction();
    struct GaveUp {};
    int turns = 0;
    transfer::StatementPipeline pipeline([&] {
        if (++turns == 3) throw GaveUp{};
    });
    pipeline.send(target, insert(table, 1));
    pipeline.send(target, insert(table, 2));

    EXPECT_THROW((void)pipeline.settle(), GaveUp);
    EXPECT_EQ(pipeline.succeeded(), 0u);
    target.endTransaction(false);
    holder.endTransaction(false);
    EXPECT_TRUE(numbersIn(table).empty());
}

INSTANTIATE_TEST_SUITE_P(BothServers, StatementPipelineTest,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

TEST(StatementPipelineWaits, TheCallerKeepsTheEventLoopWhileTheQueueIsFull) {
    db::Connection target;
    target.open(connectionStringFor(DbServer::Postgres));
    int waits = 0;
    transfer::StatementPipeline pipeline([&] { ++waits; }, transfer::PipelineLimits{1, 1 << 20});
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 4; ++i) pipeline.send(target, QStringLiteral("SELECT pg_sleep(0.1)"));
    const int waitsWhileSending = waits;
    EXPECT_EQ(pipeline.settle(), nullptr);
    EXPECT_GE(clock.elapsed(), 390);
    // Each wait lasts at most a few milliseconds before the loop gets its turn.
    EXPECT_GE(waitsWhileSending, 5);
    EXPECT_GE(waits - waitsWhileSending, 5);
}

class RowSenderTest : public StatementPipelineTest {
  protected:
    ScriptedPlatform platform;
    core::EventYield yield{platform, core::YieldPolicy::everyCall()};
    core::Procedure p{platform, QStringLiteral("Form2"), QStringLiteral("PushButton3_Click")};
    bool success = true;
};

TEST_P(RowSenderTest, AFailedStatementIsReportedBeforeAnyLaterReport) {
    const QString table = createTable(QStringLiteral("sender_order"), "n INT, note " + noteType());
    db::Connection target = connect();
    transfer::RowSender sends(p, platform, yield, success);
    for (int n = 1; n <= 10; ++n) sends.send(target, insert(table, n));
    sends.send(target, insert(table + QStringLiteral("_missing"), 11));
    sends.send(target, insert(table, 12));
    p.step(340, [] { throw std::runtime_error("a later row's value"); });

    const auto reports = platform.errorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Main.ExecuteSQL at line 100")))
        << reports[0].toStdString();
    EXPECT_TRUE(reports[1].contains(QStringLiteral("PushButton3_Click at line 340")))
        << reports[1].toStdString();
    EXPECT_FALSE(success);
    sends.settle();
    EXPECT_EQ(platform.errorReports().size(), 2u);
    EXPECT_EQ(numbersIn(table).size(), 10u);
}

TEST_P(RowSenderTest, AFailureIsReportedBetweenRowsOnceItIsKnown) {
    const QString table = createTable(QStringLiteral("sender_rows"), "n INT, note " + noteType());
    db::Connection target = connect();
    transfer::RowSender sends(p, platform, yield, success);
    sends.send(target, insert(table + QStringLiteral("_missing"), 1));
    sends.reportIfFailed();  // may come before the answer: then nothing is shown yet
    QElapsedTimer clock;
    clock.start();
    while (platform.errorReports().empty() && clock.elapsed() < 10000) sends.reportIfFailed();
    ASSERT_EQ(platform.errorReports().size(), 1u);
    EXPECT_FALSE(success);
    sends.settle();
    EXPECT_EQ(platform.errorReports().size(), 1u);
}

TEST_P(RowSenderTest, StatementsThatAllRunLeaveNoReportAndSuccessAlone) {
    const QString table = createTable(QStringLiteral("sender_ok"), "n INT, note " + noteType());
    db::Connection target = connect();
    {
        transfer::RowSender sends(p, platform, yield, success);
        for (int n = 1; n <= 50; ++n) sends.send(target, insert(table, n));
        sends.settle();
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(success);
    EXPECT_EQ(numbersIn(table).size(), 50u);
    // The sender gone, the procedure's reports are its own again.
    p.step(7, [] { throw std::runtime_error("boom"); });
    EXPECT_EQ(platform.errorReports().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothServers, RowSenderTest,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

}  // namespace
}  // namespace dorvane::testing
