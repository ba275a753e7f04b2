// Rows read a block at a time arrive exactly as rows read one value at a time: across
// blocks of every size, with NULLs anywhere, and with a value longer than a block's
// array holds. Blocks are used wherever the driver allows them.
#include <sql.h>
#include <sqlext.h>

#include <QDate>
#include <functional>
#include <vector>

#include "db/odbc/column_fetcher.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/odbc_diagnostics.h"
#include "db/odbc/odbc_handle.h"
#include "db/odbc/row_buffer.h"
#include "db/odbc/row_fetcher.h"
#include "db/values/driver_connection_string.h"
#include "server_fixture.h"

namespace dorvane::testing {
namespace {

using db::FetchKind;

constexpr int kRows = 700;  // blocks of 3 rows, then more than two full blocks

const std::vector<FetchKind> kFixedKinds{
    FetchKind::Integer, FetchKind::Integer,   FetchKind::Double, FetchKind::Boolean,
    FetchKind::Date,    FetchKind::Timestamp, FetchKind::Decimal};

class RowFetcherTest : public DbServerTest {
  protected:
    QString columns(bool withText) const {
        QString fixed = isPostgres() ? QStringLiteral(
                                           "id INT, big BIGINT, f DOUBLE PRECISION, "
                                           "b BOOLEAN, d DATE, ts TIMESTAMP, n NUMERIC")
                                     : QStringLiteral(
                                           "id INT, big BIGINT, f FLOAT, b BIT, d DATE, "
                                           "ts DATETIME2, n DECIMAL(38,10)");
        if (withText) fixed += isPostgres() ? u", note TEXT"_qs : u", note NVARCHAR(MAX)"_qs;
        return fixed;
    }

    // Row i's values; NULLs at steps that fall differently in every block.
    QString rowValues(int i, bool withText) const {
        const auto orNull = [](bool null, const QString& value) {
            return null ? QStringLiteral("NULL") : value;
        };
        // Longer than a block's array for a digit text: PostgreSQL's NUMERIC has no bound.
        const QString longDigits =
            isPostgres() ? QString(70, u'9') + u".125"_qs : QString(28, u'9') + u".1250000001"_qs;
        const QDate day = QDate(2024, 1, 1).addDays(i);
        QString row =
            QStringLiteral("%1, %2, %3, %4, '%5', '%5 %6:%7:%8.%9', %10")
                .arg(i)
                .arg(orNull(i % 5 == 1, QString::number(qint64{i} * 1000000007)))
                .arg(orNull(i % 6 == 2, QString::number(i) + u".25"_qs))
                .arg(orNull(i % 11 == 0, isPostgres() ? (i % 2 ? u"TRUE"_qs : u"FALSE"_qs)
                                                      : QString::number(i % 2)))
                .arg(day.toString(Qt::ISODate))
                .arg(i % 24, 2, 10, QChar(u'0'))
                .arg(i % 60, 2, 10, QChar(u'0'))
                .arg((i * 7) % 60, 2, 10, QChar(u'0'))
                .arg(i * 137 % 1000000, 6, 10, QChar(u'0'))
                .arg(orNull(i % 13 == 4, i % 97 == 3 ? longDigits : QString::number(i) + u".5"_qs));
        if (withText) row += u", "_qs + orNull(i % 3 == 0, QStringLiteral("N'row %1 ü'").arg(i));
        return row;
    }

    QString filledTable(bool withText) {
        const QString table = createTable(QStringLiteral("blocks"), columns(withText));
        for (int from = 1; from <= kRows; from += 100) {
            QString sql = QStringLiteral("INSERT INTO %1 VALUES ").arg(table);
            for (int i = from; i < from + 100 && i <= kRows; ++i)
                sql += (i == from ? u"("_qs : u", ("_qs) + rowValues(i, withText) + u')';
            exec(sql);
        }
        return table;
    }

    // The table's rows as `read` takes them from a fresh statement.
    db::RowBuffer readAll(
        const QString& table,
        const std::function<void(SQLHDBC, SQLHSTMT, db::RowBuffer&)>& read) const {
        db::OdbcConnection connection(db::adaptConnectionString(connectionString()), 30);
        db::OdbcHandle statement = connection.newStatement(0);
        const QString sql = selectAll(table);
        auto* text = const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(sql.utf16()));
        db::checkOdbc(SQLExecDirectW(statement.get(), text, static_cast<SQLINTEGER>(sql.size())),
                      SQL_HANDLE_STMT, statement.get(), "SQLExecDirect");
        db::RowBuffer rows;
        read(connection.handle(), statement.get(), rows);
        rows.startReading();
        return rows;
    }
};

INSTANTIATE_TEST_SUITE_P(Servers, RowFetcherTest,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

TEST_P(RowFetcherTest, BlocksGiveTheRowsThatValueByValueReadingGives) {
    for (const bool withText : {false, true}) {
        SCOPED_TRACE(withText ? "with a text column" : "fixed-size columns only");
        std::vector<FetchKind> kinds = kFixedKinds;
        if (withText) kinds.push_back(FetchKind::Text);
        const QString table = filledTable(withText);

        db::RowBuffer expected = readAll(table, [&](SQLHDBC, SQLHSTMT statement, auto& out) {
            db::ColumnFetcher fetcher(statement, kinds);
            while (SQL_SUCCEEDED(SQLFetch(statement))) fetcher.fetchRow(out);
        });
        bool inBlocks = false;
        db::RowBuffer actual = readAll(table, [&](SQLHDBC dbc, SQLHSTMT statement, auto& out) {
            db::RowFetcher fetcher(dbc, statement, kinds);
            inBlocks = fetcher.inBlocks();
            // A small window first, as psqlODBC's first window is: the block size changes.
            while (fetcher.fetchRow(out, out.rowCount() < 10 ? 3 : 0)) {
            }
        });
        // FreeTDS reads no value of a block with SQLGetData, so a text column keeps its
        // rows one at a time; psqlODBC reads texts from a block.
        EXPECT_EQ(inBlocks, !withText || isPostgres());

        ASSERT_EQ(expected.rowCount(), kRows);
        ASSERT_EQ(actual.rowCount(), kRows);
        std::vector<db::Value> want(kinds.size()), got(kinds.size());
        for (int r = 1; r <= kRows; ++r) {
            expected.readRow(want);
            actual.readRow(got);
            ASSERT_EQ(got, want) << "row " << r;
            if (r == 3 && isPostgres()) {  // the digits a block's array cannot hold
                EXPECT_GT(got[6].asString().size(), db::RowFetcher::kNarrowBytes);
            }
        }
    }
}

}  // namespace
}  // namespace dorvane::testing
