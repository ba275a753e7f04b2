// Connections and recordsets that are not open refuse work with the usual text.
#include <gtest/gtest.h>

#include <functional>

#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

const QString kClosedText = QStringLiteral("Operation is not allowed when the object is closed.");

struct ClosedCall {
    const char* label;
    std::function<void(db::Connection&, db::Recordset&)> call;
};

void PrintTo(const ClosedCall& c, std::ostream* os) {
    *os << c.label;
}

class DbClosedObjects : public ::testing::TestWithParam<ClosedCall> {};

TEST_P(DbClosedObjects, ThrowTheClosedText) {
    db::Connection connection;
    db::Recordset recordset;
    try {
        GetParam().call(connection, recordset);
        FAIL() << "no error";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.description(), kClosedText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, DbClosedObjects,
    ::testing::Values(
        ClosedCall{"execute",
                   [](db::Connection& c, db::Recordset&) { c.execute(QStringLiteral("x")); }},
        ClosedCall{"query",
                   [](db::Connection& c, db::Recordset&) { c.query(QStringLiteral("x")); }},
        ClosedCall{"schema",
                   [](db::Connection& c, db::Recordset&) { c.openSchema(db::kSchemaTables); }},
        ClosedCall{"connection_close", [](db::Connection& c, db::Recordset&) { c.close(); }},
        ClosedCall{"recordset_open_on_closed_connection",
                   [](db::Connection& c, db::Recordset& r) { r.open(QStringLiteral("x"), c); }},
        ClosedCall{"eof", [](db::Connection&, db::Recordset& r) { r.eof(); }},
        ClosedCall{"record_count", [](db::Connection&, db::Recordset& r) { r.recordCount(); }},
        ClosedCall{"field_count", [](db::Connection&, db::Recordset& r) { r.fieldCount(); }},
        ClosedCall{"value", [](db::Connection&, db::Recordset& r) { r.value(0); }},
        ClosedCall{"value_by_name",
                   [](db::Connection&, db::Recordset& r) { r.value(QStringLiteral("a")); }},
        ClosedCall{"move_next", [](db::Connection&, db::Recordset& r) { r.moveNext(); }},
        ClosedCall{"recordset_close", [](db::Connection&, db::Recordset& r) { r.close(); }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DbClosedObjects, StartClosedWithTheDefaultTimeOuts) {
    db::Connection connection;
    EXPECT_EQ(connection.state(), db::kStateClosed);
    EXPECT_EQ(connection.connectionTimeout(), 15);
    EXPECT_EQ(connection.commandTimeout(), 30);
    EXPECT_EQ(db::Recordset().state(), db::kStateClosed);
}

}  // namespace
}  // namespace dorvane::db
