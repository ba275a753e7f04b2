// 100 000 rows each way: the copy completes and the window keeps getting its events.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "copy_check.h"
#include "sql/general_value_text.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRows = 100000;

// Gaps between event processing while the rows are copied.
struct GapWatch {
    Clock::time_point last{};
    std::vector<double> gapsMs;
    void attach(TransferHarness& h) {
        h.platform.onProcessEvents = [this, &h] {
            const auto now = Clock::now();
            // Only gaps inside the row loop, where the bar moves.
            if (h.progressBar.value() > 0 && last != Clock::time_point{})
                gapsMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        };
    }
    double percentile(double p) {
        std::sort(gapsMs.begin(), gapsMs.end());
        return gapsMs.empty() ? 0 : gapsMs[static_cast<std::size_t>(p * (gapsMs.size() - 1))];
    }
};

TEST(TransferBulkCopy, HundredThousandRowsEachWay) {
    const QString t = uniqueName(QStringLiteral("bulk"));
    execPostgres(QStringLiteral("CREATE TABLE \"%1\" AS SELECT g AS id, 'row ' || g AS label, "
                                "g * 0.25 AS amount FROM generate_series(1, %2) g")
                     .arg(t)
                     .arg(kRows));

    TransferHarness toSqlServer;
    TransferHarness::select(toSqlServer.postgresTables, {t});
    GapWatch out;
    out.attach(toSqlServer);
    auto started = Clock::now();
    transfer::sendTablesToSqlServer(toSqlServer.context);
    const double outSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_TRUE(toSqlServer.platform.messages.empty());
    EXPECT_EQ(mssqlRowCount(t), kRows);
    EXPECT_TRUE(copiedToSqlServer(t, t));

    // And back, under a new name on the PostgreSQL side.
    const QString back = t + QStringLiteral("_back");
    execMssql(QStringLiteral("EXEC sp_rename '%1', '%2'").arg(t, back));
    TransferHarness toPostgres;
    TransferHarness::select(toPostgres.mssqlTables, {back});
    GapWatch in;
    in.attach(toPostgres);
    started = Clock::now();
    transfer::sendTablesToPostgres(toPostgres.context);
    const double inSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_TRUE(toPostgres.platform.messages.empty());
    EXPECT_EQ(postgresRowCount(back), kRows);
    EXPECT_TRUE(copiedToPostgres(back, back));
    const Rows sums = postgresRows(
        QStringLiteral(
            "SELECT count(DISTINCT id), sum(id::numeric), sum(amount::numeric) FROM \"%1\"")
            .arg(back));
    EXPECT_EQ(sql::valueText(sums[0][0]), QString::number(kRows));
    EXPECT_EQ(sql::valueText(sums[0][1]), QString::number(qint64(kRows) * (kRows + 1) / 2));
    EXPECT_EQ(sql::valueText(sums[0][2]).toDouble(), 0.25 * kRows * (kRows + 1) / 2);

    for (GapWatch* watch : {&out, &in}) {
        EXPECT_GT(watch->gapsMs.size(), 100u);
        // Events come every 5 ms or so (bench/ measures it); a loaded machine can stretch
        // that many times over, while a copy that stopped yielding would stall for seconds.
        EXPECT_LT(watch->percentile(0.99), 250.0);
    }
    std::printf("to SQL Server: %.1f s, %zu yields, p99 gap %.2f ms, max %.2f ms\n", outSeconds,
                out.gapsMs.size(), out.percentile(0.99), out.percentile(1.0));
    std::printf("to PostgreSQL: %.1f s, %zu yields, p99 gap %.2f ms, max %.2f ms\n", inSeconds,
                in.gapsMs.size(), in.percentile(0.99), in.percentile(1.0));
}

}  // namespace
}  // namespace dorvane::testing
