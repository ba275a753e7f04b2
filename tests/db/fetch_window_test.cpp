// psqlODBC's window of rows follows the rows' width: wide rows are read a few at a time,
// narrow ones in full windows, and rows keep their order and values however the window
// changes between fetches. Other drivers are left alone.
#include <sql.h>
#include <sqlext.h>

#include <fstream>
#include <string>

#include "db/odbc/fetch_window.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/recordset.h"
#include "db/values/driver_connection_string.h"
#include "server_fixture.h"
#include "sql/general_value_text.h"

namespace dorvane::testing {
namespace {

using db::FetchWindow;

constexpr SQLINTEGER kPsqlOdbcFetchRows = 65541;
constexpr int kLoginSeconds = 30;

SQLINTEGER windowOf(db::OdbcConnection& connection) {
    SQLINTEGER rows = -1;
    EXPECT_TRUE(SQL_SUCCEEDED(
        SQLGetConnectAttrW(connection.handle(), kPsqlOdbcFetchRows, &rows, sizeof rows, nullptr)));
    return rows;
}

db::OdbcConnection odbcConnectionTo(DbServer server) {
    return db::OdbcConnection(db::adaptConnectionString(connectionStringFor(server)),
                              kLoginSeconds);
}

class FetchWindowTest : public DbServerTest {
  protected:
    // A table of `rows` rows: id from 1, and a text body made by `body` from g, the id.
    QString tableOf(const QString& stem, const QString& body, int rows) {
        const QString table = createTable(stem, QStringLiteral("id INT, body TEXT"));
        exec(QStringLiteral("INSERT INTO %1 SELECT g, %2 FROM generate_series(1, %3) g")
                 .arg(table, body)
                 .arg(rows));
        return table;
    }
};

INSTANTIATE_TEST_SUITE_P(Servers, FetchWindowTest, ::testing::Values(DbServer::Postgres),
                         serverLabel);

TEST_P(FetchWindowTest, FollowsTheWidestRowSeenAndGivesTheConnectionItsOwnBack) {
    db::OdbcConnection connection = odbcConnectionTo(DbServer::Postgres);
    const SQLINTEGER own = windowOf(connection);
    ASSERT_EQ(own, db::kPostgresFetchRows);
    {
        db::FetchWindow window(connection, db::ServerKind::Postgres);
        EXPECT_EQ(windowOf(connection), db::FetchWindow::kFirstRows);

        window.rowRead(std::size_t{2} << 20);  // two such rows fill a window
        EXPECT_EQ(windowOf(connection), 2);
        window.rowRead(40);
        EXPECT_EQ(windowOf(connection), 2) << "a window's rows are seen before it grows";
        window.rowRead(40);
        EXPECT_EQ(windowOf(connection), db::kPostgresFetchRows);

        window.rowRead(std::size_t{64} << 20);  // larger than a window: one at a time
        EXPECT_EQ(windowOf(connection), 1);
        EXPECT_EQ(window.rows(), 1);
    }
    EXPECT_EQ(windowOf(connection), own);
}

TEST_P(FetchWindowTest, ADriverWithoutTheSettingIsLeftAlone) {
    if (!mssqlAvailable()) GTEST_SKIP() << "no SQL Server in this run";
    // FreeTDS has no such attribute: even taken for PostgreSQL's, it is not touched.
    db::OdbcConnection connection = odbcConnectionTo(DbServer::Mssql);
    db::FetchWindow window(connection, db::ServerKind::Postgres);
    window.rowRead(std::size_t{2} << 20);
    EXPECT_EQ(window.rows(), 0);
}

// Wide and narrow rows in turn, so the window shrinks and grows while the rows are read.
TEST_P(FetchWindowTest, RowsOfChangingWidthArriveWholeAndInOrder) {
    constexpr int kRows = 40;
    const QString table = tableOf(QStringLiteral("window"),
                                  QStringLiteral("CASE WHEN g % 9 < 3 THEN repeat(chr(65 + g % "
                                                 "26), 1500000) ELSE 'short ' || g END"),
                                  kRows);
    const auto expectedBody = [](int id) {
        return id % 9 < 3 ? QString(1500000, QChar(u'A' + id % 26))
                          : QStringLiteral("short %1").arg(id);
    };
    for (const bool ahead : {true, false}) {
        SCOPED_TRACE(ahead ? "read ahead" : "read whole");
        db::Connection connection = connect();
        connection.setReadAhead(ahead);
        db::Recordset rows;
        rows.open(QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(table), connection);
        ASSERT_EQ(rows.recordCount(), kRows);
        int id = 1;
        for (; !rows.eof(); rows.moveNext(), ++id) {
            ASSERT_EQ(sql::valueText(rows.value(0)), QString::number(id));
            ASSERT_TRUE(sql::valueText(rows.value(1)) == expectedBody(id)) << "row " << id;
        }
        EXPECT_EQ(id - 1, kRows);
        rows.close();
        // Statements after the read get the connection's own window again.
        db::Recordset narrow;
        narrow.open(QStringLiteral("SELECT g FROM generate_series(1, 600) g"), connection);
        EXPECT_EQ(narrow.recordCount(), 600);
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define DORVANE_FREED_MEMORY_HELD 1  // AddressSanitizer keeps freed memory a while
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DORVANE_FREED_MEMORY_HELD 1
#endif
#endif

#if defined(__linux__) && !defined(DORVANE_FREED_MEMORY_HELD)
double peakResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return -1;
}

// 300 MB of rows: in windows of 256 rows the driver alone would hold them twice over.
TEST_P(FetchWindowTest, ATableOfWideRowsIsNotHeldWholeByTheDriver) {
    constexpr int kRows = 200;
    const QString table =
        tableOf(QStringLiteral("wide_rows"), QStringLiteral("repeat(md5(g::text), 46875)"), kRows);
    db::Connection connection = connect();
    connection.setReadAhead(true);
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const double before = peakResidentMiB();
    db::Recordset rows;
    rows.open(QStringLiteral("SELECT * FROM %1").arg(table), connection);
    int read = 0;
    for (; !rows.eof(); rows.moveNext()) read += sql::valueText(rows.value(1)).size() == 1500000;
    rows.close();
    EXPECT_EQ(read, kRows);
    EXPECT_LT(peakResidentMiB() - before, 100.0);
}
#endif

}  // namespace
}  // namespace dorvane::testing
