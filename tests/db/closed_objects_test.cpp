// Connections and recordsets that are not open refuse work with the usual text.
#include <gtest/gtest.h>

#include <functional>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"

namespace dorvane::db {
namespace {

const QString kClosedText = QStringLiteral("Operation is not allowed when the object is closed.");

struct ClosedCall {
    const char* label;
    std::function<void(Connection&, Recordset&)> call;
};

void PrintTo(const ClosedCall& c, std::ostream* os) {
    *os << c.label;
}

class DbClosedObjects : public ::testing::TestWithParam<ClosedCall> {};

TEST_P(DbClosedObjects, ThrowTheClosedText) {
    Connection connection;
    Recordset recordset;
    try {
        GetParam().call(connection, recordset);
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.description(), kClosedText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, DbClosedObjects,
    ::testing::Values(
        ClosedCall{"execute", [](Connection& c, Recordset&) { c.execute(QStringLiteral("x")); }},
        ClosedCall{"query", [](Connection& c, Recordset&) { c.query(QStringLiteral("x")); }},
        ClosedCall{"schema", [](Connection& c, Recordset&) { c.openSchema(kSchemaTables); }},
        ClosedCall{"connection_close", [](Connection& c, Recordset&) { c.close(); }},
        ClosedCall{"recordset_open_on_closed_connection",
                   [](Connection& c, Recordset& r) { r.open(QStringLiteral("x"), c); }},
        ClosedCall{"eof", [](Connection&, Recordset& r) { r.eof(); }},
        ClosedCall{"record_count", [](Connection&, Recordset& r) { r.recordCount(); }},
        ClosedCall{"field_count", [](Connection&, Recordset& r) { r.fieldCount(); }},
        ClosedCall{"value", [](Connection&, Recordset& r) { r.value(0); }},
        ClosedCall{"value_by_name",
                   [](Connection&, Recordset& r) { r.value(QStringLiteral("a")); }},
        ClosedCall{"move_next", [](Connection&, Recordset& r) { r.moveNext(); }},
        ClosedCall{"recordset_close", [](Connection&, Recordset& r) { r.close(); }}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(DbClosedObjects, StartClosedWithTheDefaultTimeOuts) {
    Connection connection;
    EXPECT_EQ(connection.state(), kStateClosed);
    EXPECT_EQ(connection.connectionTimeout(), 15);
    EXPECT_EQ(connection.commandTimeout(), 30);
    EXPECT_EQ(Recordset().state(), kStateClosed);
}

}  // namespace
}  // namespace dorvane::db
