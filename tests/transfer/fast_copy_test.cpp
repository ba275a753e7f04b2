// "Fast copy": each table in one transaction. It arrives as the copy row by row brings it,
// or not at all: a table it was to replace survives any failure, the lists stay true, and
// the report names the table and the row.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "copy_check.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "directions.h"
#include "old_target.h"
#include "private_standin.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

const QString kNotCopied = QStringLiteral("These tables were not copied, or not completely:");
// More than two statements of rows, the last one short.
constexpr int kRows = 2345;

class FastCopy : public ::testing::TestWithParam<Direction> {
  protected:
    TransferHarness h;
    const Direction& d = GetParam();
    bool toPostgres() const { return d.target.server == Server::Postgres; }
    core::MemoryListBox& sourceList() { return h.*d.source.list; }
    core::MemoryListBox& targetList() { return h.*d.target.list; }
    void send(const QString& table, bool fast) {
        (h.*d.fastCopyBox).setValue(fast ? 1 : 0);
        sourceList().clear();  // only this table is sent
        TransferHarness::select(sourceList(), {table});
        d.send(h.context, core::YieldPolicy::everyCall());
    }

    // Numbers, awkward texts, NULLs and exact decimals, `rows` of them.
    QString sourceTable(const char* stem, int rows = kRows) {
        const QString t = uniqueName(QString::fromLatin1(stem));
        const bool fromPostgres = d.source.server == Server::Postgres;
        d.source.exec("CREATE TABLE " + d.source.quote(t) +
                      (fromPostgres ? "(n INT4, t TEXT, d NUMERIC(12,3))"
                                    : "([n] INT, [t] NVARCHAR(100), [d] DECIMAL(12,3))"));
        const QStringList texts{"O'Brien ''", "C:\\data\\", "été \"x\" [y]]", "", " ", "E'x'"};
        for (int first = 1; first <= rows; first += 500) {
            QStringList values;
            for (int n = first; n < first + 500 && n <= rows; ++n) {
                const QString text = n % 7 == 0
                                         ? QStringLiteral("NULL")
                                         : (fromPostgres ? "" : "N") +
                                               sql::singleQuotedText(texts[n % texts.size()]);
                values << QStringLiteral("(%1, %2, %3.125)").arg(n).arg(text).arg(n * 3);
            }
            d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES" + values.join(u','));
        }
        return t;
    }
    void createOldTarget(const QString& t) { testing::createOldTarget(d, h, t); }
    void expectOldTableKept(const QString& t) {
        testing::expectOldTableKept(d, h, t);
        EXPECT_EQ(h.progressBar.value(), 0);
        EXPECT_EQ(h.progressBar.text(), "Progress Bar");
    }
    // The columns as the dialog hands them back, with n's type and t's given.
    void customizeColumns(const QString& t, const char* pgN, const char* pgT, const char* msN,
                          const char* msT) {
        (h.*d.customizeBox).setValue(1);
        h.customizationDialog.answers = {
            toPostgres() ? ScriptedDialog::ok(
                               d.columnHead(t) + QStringLiteral("n %1,t %2,d NUMERIC(12,3))")
                                                     .arg(QLatin1String(pgN), QLatin1String(pgT)),
                               "0,")
                         : ScriptedDialog::ok(
                               d.columnHead(t) + QStringLiteral("[n] %1,[t] %2,[d] DECIMAL(12,3));")
                                                     .arg(QLatin1String(msN), QLatin1String(msT)),
                               QString())};
    }
    // n holds three digits: row 1000 is the first refused, by the copy's own check or by
    // the server.
    void narrowFirstColumn(const QString& t) {
        customizeColumns(t, "NUMERIC(3,0)", "TEXT", "DECIMAL(3,0)", "VARCHAR(100)");
    }
    // t takes no NULL: the server refuses row 7, the first whose t is NULL.
    void refuseNulls(const QString& t) {
        customizeColumns(t, "NUMERIC", "TEXT NOT NULL", "INT", "VARCHAR(100) NOT NULL");
    }
    // What the report quotes as the statement in flight: the COPY and the row, or the INSERT
    // of the row alone.
    QString inFlight(const QString& t, int row, const char* values) const {
        return toPostgres() ? QStringLiteral("COPY %1 FROM STDIN, row %2")
                                  .arg(sql::doubleQuotedName(t))
                                  .arg(row)
                            : QStringLiteral("INSERT INTO %1 VALUES%2")
                                  .arg(sql::bracketedName(t), QLatin1String(values));
    }
    // What the report quotes as the statement in flight.
    static QString quoted(const QString& report) {
        const qsizetype at = report.lastIndexOf(QStringLiteral("\r\rsql: "));
        return at < 0 ? QString() : report.mid(at + 7);
    }
    static Rows sorted(Rows rows) {
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return sql::valueText(a[0]).toDouble() < sql::valueText(b[0]).toDouble();
        });
        return rows;
    }
};

TEST_P(FastCopy, BringsWhatTheCopyRowByRowBrings) {
    const QString byRow = sourceTable("by_row");
    // The name reaches the server inside the bulk load's own statements too.
    const QString fast = sourceTable("fast [x]] 'y' %s");

    send(byRow, false);
    send(fast, true);

    EXPECT_TRUE(h.platform.messages.empty()) << h.platform.messageTexts().front().toStdString();
    EXPECT_TRUE(d.copied(fast, fast));
    const Rows rowByRow = sorted(d.target.rows(byRow));
    ASSERT_EQ(rowByRow.size(), std::size_t{kRows});
    EXPECT_EQ(sorted(d.target.rows(fast)), rowByRow);
    const QString listed = toPostgres() ? fast.toLower() : fast;
    EXPECT_NE(std::find(targetList().texts().begin(), targetList().texts().end(), listed),
              targetList().texts().end());
    const auto& shown = h.progressBar.shownTexts;
    EXPECT_NE(std::find(shown.begin(), shown.end(), fast + ": 2 345 of 2 345 rows"), shown.end());
    EXPECT_EQ(h.progressBar.text(), "Progress Bar");
}

// Towards SQL Server, the rows of the statement refused are tried one by one, inside the
// transaction, to find the row; towards PostgreSQL, COPY names it.
TEST_P(FastCopy, ARowTheServerRefusesLeavesTheOldTableAsItWasAndIsNamed) {
    const QString t = sourceTable("refused_row");
    createOldTarget(t);
    refuseNulls(t);
    h.platform.answers = {core::kAnswerYes};

    send(t, true);

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains("Table " + t)) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(", row 7: ")) << reports[0].toStdString();
    EXPECT_EQ(quoted(reports[0]), inFlight(t, 7, "('7', NULL, '21.125')"));
    expectOldTableKept(t);
}

// The key repeated at the end: towards SQL Server the server refuses a whole batch of rows
// loaded in bulk, whose rows are then sent one by one to find it; COPY names it.
TEST_P(FastCopy, ARepeatedKeyIsNamedByItsRowAndTheOldTableKept) {
    const QString t = sourceTable("repeated_key");
    d.source.exec("INSERT INTO " + d.source.quote(t) + " VALUES (5, NULL, 1.5)");
    createOldTarget(t);
    customizeColumns(t, "INTEGER PRIMARY KEY", "TEXT", "INT PRIMARY KEY", "VARCHAR(100)");
    h.platform.answers = {core::kAnswerYes};

    send(t, true);

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(QStringLiteral(", row %1: ").arg(kRows + 1)))
        << reports[0].toStdString();
    EXPECT_EQ(quoted(reports[0]), inFlight(t, kRows + 1, "('5', NULL, '1.500')"));
    expectOldTableKept(t);
}

TEST_P(FastCopy, ANewTableThatFailsIsNeitherLeftNorListed) {
    const QString t = sourceTable("refused_new", 1500);
    narrowFirstColumn(t);

    send(t, true);

    const auto reports = h.platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(quoted(reports[0]), inFlight(t, 1000, "('1000', ' ', '3000.125')"));
    EXPECT_FALSE(d.target.exists(t));
    EXPECT_TRUE(targetList().texts().empty());
    ASSERT_FALSE(h.platform.messages.empty());
    EXPECT_EQ(h.platform.messages.back().text, kNotCopied + "\r\n\r\n" + t);
}

TEST_P(FastCopy, ALostTargetSessionLeavesTheOldTableAsItWas) {
    // Towards SQL Server the target is a stand-in of the test's own, over the same
    // databases, which can be killed.
    PrivateStandin standin;
    if (!toPostgres()) h.profiles.ms = standin.profile();
    const QString t = sourceTable("lost_session", 6000);
    createOldTarget(t);
    h.platform.answers = {core::kAnswerYes};
    // Once the first statement of rows is on its way (a fifth of the rows read), the
    // target's session ends: PostgreSQL's ended by the server, the stand-in killed.
    bool ended = false;
    h.platform.onProcessEvents = [&] {
        if (ended || h.progressBar.value() < 20) return;
        if (!toPostgres()) {
            standin.kill();
            ended = true;
            return;
        }
        // Its current statement sends rows into the table: an INSERT, or a COPY.
        const QString quoted = u'"' + t + u'"';
        ended = !postgresRows(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                             "pg_stat_activity WHERE pid <> pg_backend_pid() "
                                             "AND (query LIKE %1 OR query LIKE %2)")
                                  .arg(sql::singleQuotedText("%INSERT INTO " + quoted + "%"),
                                       sql::singleQuotedText("%COPY " + quoted + "%")))
                     .empty();
    };

    send(t, true);

    EXPECT_TRUE(ended);
    EXPECT_FALSE(h.platform.errorReports().empty());
    expectOldTableKept(t);
}

TEST_P(FastCopy, AStopRollsTheTableBackAndKeepsTheOldOne) {
    const QString t = sourceTable("stopped_fast");
    createOldTarget(t);
    h.platform.answers = {core::kAnswerYes};
    h.platform.onProcessEvents = [&] {
        if (h.progressBar.value() >= 20) h.stop.request();
    };

    send(t, true);

    EXPECT_TRUE(h.stop.requested());
    EXPECT_TRUE(h.platform.errorReports().empty());
    expectOldTableKept(t);
}

// Another session's DROP, not yet rolled back, holds a table against the copy.
class HeldTable {
  public:
    HeldTable(Server server, const QString& quotedTable) {
        holder_.open(server == Server::Postgres ? db::postgresConnectionString(postgresProfile())
                                                : db::mssqlConnectionString(mssqlProfile()));
        holder_.beginTransaction();
        holder_.execute("DROP TABLE " + quotedTable);
        // Should the copy not be cut short, the table is let go after a long while, so
        // that the test ends and sees it.
        watchdog_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            if (!ended_.wait_for(lock, std::chrono::minutes(2), [this] { return letGo_; })) {
                holder_.endTransaction(false);
                letGoLate_ = true;
            }
        });
    }
    ~HeldTable() { letGo(); }

    // Lets the table go; false when the watchdog had to.
    bool letGo() {
        {
            const std::lock_guard lock(mutex_);
            letGo_ = true;
        }
        ended_.notify_one();
        if (watchdog_.joinable()) watchdog_.join();
        if (!letGoLate_ && !endedHere_) holder_.endTransaction(false);
        endedHere_ = true;
        return !letGoLate_;
    }

  private:
    db::Connection holder_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool letGo_ = false;
    bool letGoLate_ = false;
    bool endedHere_ = false;
    std::thread watchdog_;
};

// True while a session of the target's server waits for a lock: seen in PostgreSQL's
// activity, the stand-in's sessions included (their databases are named standin_<name>),
// or in SQL Server's lock requests.
class LockWaits {
  public:
    explicit LockWaits(Server target)
        : onPostgres_(target == Server::Postgres || std::getenv("DORVANE_STANDIN_LOG")) {
        probe_.open(onPostgres_ ? db::postgresConnectionString(postgresProfile())
                                : db::mssqlConnectionString(mssqlProfile()));
        database_ = target == Server::Postgres
                        ? postgresProfile().database
                        : QStringLiteral("standin_") + mssqlProfile().database;
    }
    bool seen() {
        const QString sql =
            onPostgres_ ? "SELECT 1 FROM pg_stat_activity WHERE wait_event_type = 'Lock' AND "
                          "datname = " +
                              sql::singleQuotedText(database_)
                        : QStringLiteral(
                              "SELECT 1 FROM sys.dm_tran_locks WHERE request_status = "
                              "'WAIT' AND resource_database_id = DB_ID()");
        return !probe_.query(sql).eof();
    }

  private:
    const bool onPostgres_;
    QString database_;
    db::Connection probe_;
};

// A stop asked for while the copy waits for a table another session holds cuts the wait
// short: the copy ends while the table is still held, nothing is reported, and the old
// table is intact.
TEST_P(FastCopy, AStopCutsShortAWaitForAHeldTable) {
    const QString t = sourceTable("held_stop", 3);
    createOldTarget(t);
    h.platform.answers = {core::kAnswerYes};
    HeldTable held(d.target.server, d.target.quote(t));
    LockWaits lockWaits(d.target.server);
    // Once the table is under way (the overwrite question answered): a wait seen then that
    // is another test's only brings the stop forward to the copy's first wait.
    h.platform.onProcessEvents = [&] {
        if (!h.stop.requested() && h.platform.answers.empty() && lockWaits.seen()) h.stop.request();
    };

    send(t, true);

    EXPECT_TRUE(h.stop.requested());
    EXPECT_TRUE(held.letGo()) << "the copy went on only once the table was let go";
    EXPECT_TRUE(h.platform.errorReports().empty()) << h.platform.errorReports()[0].toStdString();
    expectOldTableKept(t);
}

// A server that takes no bulk load: the stand-in refusing the INSERT BULK that starts one,
// as SQL Server does a user without the permission, or misreading the rows of the first
// batch, as some servers compatible with it do. Each table goes by INSERT statements, the
// first after a rollback, the second straight away.
struct RefusedBulkLoad {
    const char* name;
    const char* mode;  // the stand-in's --refuse-bulk-load
};

void PrintTo(const RefusedBulkLoad& c, std::ostream* os) {
    *os << c.name;
}

class FastCopyRefusedBulkLoad : public ::testing::TestWithParam<RefusedBulkLoad> {};

TEST_P(FastCopyRefusedBulkLoad, EveryTableArrivesWholeByInsertStatements) {
    PrivateStandin standin({QStringLiteral("--refuse-bulk-load"), QLatin1String(GetParam().mode)});
    TransferHarness h;
    h.profiles.ms = standin.profile();
    h.fastCopyToSqlServer.setValue(1);
    const QString replaced = uniqueName(QStringLiteral("bulk_refused_old"));
    const QString added = uniqueName(QStringLiteral("bulk_refused_new"));
    for (const QString& t : {replaced, added}) {
        execPostgres("CREATE TABLE " + sql::doubleQuotedName(t) + "(n INT4, d NUMERIC(12,2))");
        execPostgres("INSERT INTO " + sql::doubleQuotedName(t) +
                     " SELECT g, g * 1.25 FROM generate_series(1, 2500) g");
    }
    createOldTarget(kToSqlServer, h, replaced);
    TransferHarness::select(h.postgresTables, {added, replaced});  // copied from the bottom up
    h.platform.answers = {core::kAnswerYes};

    transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());

    EXPECT_TRUE(h.platform.errorReports().empty()) << h.platform.errorReports()[0].toStdString();
    EXPECT_EQ(h.platform.messageTexts(),
              std::vector<QString>{"Would you like to overwrite " + replaced + "?"});
    for (const QString& t : {replaced, added}) {
        EXPECT_TRUE(copiedToSqlServer(t, t));
        const auto& shown = h.progressBar.shownTexts;
        for (const char* rows : {"1", "2 500"})
            EXPECT_NE(std::find(shown.begin(), shown.end(),
                                t + ": " + rows + " of 2 500 rows by INSERT statements"),
                      shown.end())
                << t.toStdString() << " " << rows;
    }
    // The first table was tried by bulk load, the later one not.
    const auto& shown = h.progressBar.shownTexts;
    EXPECT_NE(std::find(shown.begin(), shown.end(), replaced + ": 1 of 2 500 rows"), shown.end());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), added + ": 1 of 2 500 rows"), shown.end());
    auto listed = h.mssqlTables.texts();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<QString>{added, replaced}));
}

INSTANTIATE_TEST_SUITE_P(Servers, FastCopyRefusedBulkLoad,
                         ::testing::Values(RefusedBulkLoad{"AtTheStart", "start"},
                                           RefusedBulkLoad{"InTheFirstBatch", "garble"}),
                         [](const auto& info) { return std::string(info.param.name); });

#if defined(__linux__)
// The highest niceness among this process's threads, less the calling thread's.
int niceThreadsAbove() {
    const int own = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    int highest = own;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        errno = 0;
        const int niceness = getpriority(PRIO_PROCESS, std::stoi(task.path().filename()));
        if (errno == 0) highest = std::max(highest, niceness);
    }
    return highest - own;
}

// Row by row, the reading gives way to the copy's statements; a fast copy waits for the
// reading, which must then not give way to every other program on the machine.
TEST_P(FastCopy, ReadsTheSourceAtTheCopysOwnPriority) {
    // A SQL Server source is read ahead only while its database allows snapshots, which
    // other tests switch off for a moment.
    if (d.source.server != Server::Postgres) GTEST_SKIP() << "PostgreSQL sources only";
    // More rows than are read ahead, so the reading goes on while the copy runs.
    const QString t = uniqueName(QStringLiteral("priority"));
    d.source.exec("CREATE TABLE " + d.source.quote(t) + "(n INT4, t TEXT)");
    d.source.exec("INSERT INTO " + d.source.quote(t) +
                  " SELECT g, repeat('x', 7000) FROM generate_series(1, 1200) g");
    for (const bool fast : {false, true}) {
        int above = -1;
        h.platform.onProcessEvents = [&] {
            if (h.progressBar.value() > 0) above = std::max(above, niceThreadsAbove());
        };
        h.platform.answers = {core::kAnswerYes};
        send(t, fast);
        EXPECT_TRUE(h.platform.errorReports().empty());
        if (fast)
            EXPECT_EQ(above, 0);
        else
            EXPECT_GT(above, 0);
    }
}
#endif

INSTANTIATE_TEST_SUITE_P(BothDirections, FastCopy, ::testing::Values(kToPostgres, kToSqlServer),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorvane::testing
