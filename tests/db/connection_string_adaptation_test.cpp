// Connection strings as the drivers receive them.
#include <gtest/gtest.h>

#include "db/values/connection_string_items.h"
#include "db/values/connection_strings.h"
#include "db/values/driver_connection_string.h"

namespace dorvane::db {
namespace {

struct AdaptRow {
    const char* label;
    const char* given;
    const char* expected;
};

void PrintTo(const AdaptRow& row, std::ostream* os) {
    *os << row.label;
}

const AdaptRow kRows[] = {
    {"freetds_host_port_split",
     "Driver={SQL Server};Server=db.example,1433;Database=Sales;Uid=sa;Pwd=secret;",
     "Driver={SQL Server};Server=db.example;Database=Sales;Uid=sa;Pwd=secret;Port=1433;"
     "TDS_Version=7.4;ClientCharset=UTF-8;TextSize=2147483647;"},
    {"freetds_braced_server_and_password",
     "Driver={SQL Server};Server={my;host,1500};Database=D;Uid=u;Pwd={a}}b;c};",
     "Driver={SQL Server};Server={my;host};Database=D;Uid=u;Pwd={a}}b;c};Port=1500;"
     "TDS_Version=7.4;ClientCharset=UTF-8;TextSize=2147483647;"},
    {"freetds_local_has_no_port", "Driver={SQL Server};Server=localhost;Database=D;Uid=u;Pwd=p;",
     "Driver={SQL Server};Server=localhost;Database=D;Uid=u;Pwd=p;"
     "TDS_Version=7.4;ClientCharset=UTF-8;TextSize=2147483647;"},
    {"freetds_pins_version_over_given", "Driver={sql server};Server=h;TDS_Version=7.0;",
     "Driver={sql server};Server=h;TDS_Version=7.4;ClientCharset=UTF-8;TextSize=2147483647;"},
    {"psqlodbc_cursor_mode",
     "Driver={PostgreSQL Unicode};Server=h;Port=5432;Uid=u;Pwd={p;w};Database=d",
     "Driver={PostgreSQL Unicode};Server=h;Port=5432;Uid=u;Pwd={p;w};Database=d;"
     "UseDeclareFetch=1;Fetch=256;ConnSettings=SET lc_monetary TO 'C';"},
    {"psqlodbc_keeps_own_fetch", "Driver={PostgreSQL Unicode};Server=h;Fetch=50;usedeclarefetch=0;",
     "Driver={PostgreSQL Unicode};Server=h;Fetch=50;usedeclarefetch=0;"
     "ConnSettings=SET lc_monetary TO 'C';"},
    {"other_driver_untouched", "Driver={Other};Server=a,1;", "Driver={Other};Server=a,1;"},
};

class DbConnectionStringAdaptation : public ::testing::TestWithParam<AdaptRow> {};

TEST_P(DbConnectionStringAdaptation, GivesTheDriversString) {
    EXPECT_EQ(db::adaptConnectionString(QString::fromUtf8(GetParam().given)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, DbConnectionStringAdaptation, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(DbConnectionStringAdaptation, ProgramStringSplitsIntoServerAndPort) {
    db::MssqlProfile p{QStringLiteral("127.0.0.1"), QStringLiteral("14330"), QStringLiteral("sa"),
                       QStringLiteral("pw;with}brace"), QStringLiteral("Sales DB")};
    const db::ConnectionItems items =
        db::ConnectionItems::parse(db::adaptConnectionString(db::mssqlConnectionString(p)));
    EXPECT_EQ(items.value(QStringLiteral("server")), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(items.value(QStringLiteral("PORT")), QStringLiteral("14330"));
    EXPECT_EQ(items.value(QStringLiteral("Pwd")), QStringLiteral("pw;with}brace"));
    EXPECT_EQ(items.value(QStringLiteral("Database")), QStringLiteral("Sales DB"));
}

struct ParseRow {
    const char* given;
    const char* key;
    const char* value;
};

class DbConnectionStringParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(DbConnectionStringParse, ReadsValuesByOdbcRules) {
    const db::ConnectionItems items =
        db::ConnectionItems::parse(QString::fromUtf8(GetParam().given));
    EXPECT_EQ(items.value(QString::fromUtf8(GetParam().key)), QString::fromUtf8(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(Rows, DbConnectionStringParse,
                         ::testing::Values(ParseRow{"A=1;B={x;y=z};C=3", "B", "x;y=z"},
                                           ParseRow{"A=1;B={x;y=z};C=3", "C", "3"},
                                           ParseRow{"Pwd={}}{}}};X=1", "Pwd", "}{}"},
                                           ParseRow{" Key = v ;", "key", "v "},
                                           ParseRow{"junk;K=v", "K", "v"},
                                           ParseRow{"K=", "K", ""}));

}  // namespace
}  // namespace dorvane::db
