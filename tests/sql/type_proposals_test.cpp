#include <gtest/gtest.h>

#include "db/odbc/ado_types.h"
#include "sql/type_proposals.h"

namespace dorvane {
namespace {

using db::Value;
namespace ado = db::ado;

db::FieldInfo field(db::AdoType adoType, int precision = 0, int scale = 0) {
    return {QStringLiteral("c"), adoType, precision, scale, QString()};
}

// Types SQL Server has, and which NUMERIC would round to whole numbers.
TEST(FixedProposals, TowardsSqlServerKeepFloatsAndMoneyExact) {
    const db::Value sample = db::Value::dbl(3.14159);
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::SqlServer, field(ado::kCurrency, 19, 4), &sample),
        "NUMERIC(19,4)");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(ado::kSingle), &sample),
              "REAL");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(ado::kDouble), &sample),
              "FLOAT");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::PostgreSQL, field(ado::kDouble), &sample),
              "NUMERIC");
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::SqlServer, field(ado::kUnsignedTinyInt), &sample),
        "TINYINT");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::PostgreSQL, field(ado::kTinyInt), &sample),
              "SMALLINT");
}

TEST(ExactNumberProposals, KeepTheSourcePrecisionTowardsSqlServerOnly) {
    EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(ado::kNumeric, 10, 2), nullptr),
              "NUMERIC(10,2)");
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::SqlServer, field(db::AdoType::Decimal, 7, 3), nullptr),
        "DECIMAL(7,3)");
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::PostgreSQL, field(ado::kNumeric, 10, 2), nullptr),
        "NUMERIC");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::PostgreSQL, field(db::AdoType::Decimal, 7, 3),
                                nullptr),
              "NUMERIC");
}

TEST(ExactNumberProposals, FitSqlServersLimits) {
    EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(ado::kNumeric, 38, 0), nullptr),
              "NUMERIC(38,0)");
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::SqlServer, field(ado::kNumeric, 1000, 6), nullptr),
        "NUMERIC(38,6)");
    EXPECT_EQ(
        sql::proposedType(sql::TargetServer::SqlServer, field(ado::kNumeric, 50, 45), nullptr),
        "NUMERIC(38,38)");
    EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(ado::kNumeric, 0, 0), nullptr),
              "NUMERIC");
}

struct SampleCase {
    const char* label;
    std::optional<db::Value> sample;  // nullopt: the table has no rows
    const char* towardsPostgreSQL;
    const char* towardsSqlServer;
};

class SampledProposals : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampledProposals, FollowTheFirstRowForTextAndOtherTypes) {
    const SampleCase& c = GetParam();
    const db::Value* sample = c.sample ? &*c.sample : nullptr;
    for (db::AdoType type :
         {ado::kVarChar, ado::kChar, ado::kVarWChar, ado::kWChar, ado::kVarBinary, ado::kGuid,
          db::AdoType::Variant, static_cast<db::AdoType>(1) /* no name */}) {
        SCOPED_TRACE(static_cast<int>(type));
        EXPECT_EQ(sql::proposedType(sql::TargetServer::PostgreSQL, field(type, 4000), sample),
                  c.towardsPostgreSQL);
        EXPECT_EQ(sql::proposedType(sql::TargetServer::SqlServer, field(type, 4000), sample),
                  c.towardsSqlServer);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SampledTextRule, SampledProposals,
    ::testing::Values(
        SampleCase{"NoRows", std::nullopt, "VARCHAR(255)", "VARCHAR(255)"},
        SampleCase{"Null", db::Value(), "VARCHAR(255)", "VARCHAR(255)"},
        SampleCase{"Empty", db::Value::text(QString()), "VARCHAR(255)", "VARCHAR(255)"},
        SampleCase{"SevenCharacters", db::Value::text(QStringLiteral("abcdefg")), "VARCHAR(7)",
                   "VARCHAR(7)"},
        SampleCase{"OneCharacter", db::Value::text(QStringLiteral("x")), "VARCHAR(1)",
                   "VARCHAR(1)"},
        SampleCase{"Exactly255", db::Value::text(QString(255, u'a')), "VARCHAR(255)",
                   "VARCHAR(255)"},
        SampleCase{"Exactly256", db::Value::text(QString(256, u'a')), "MEMO", "TEXT"},
        SampleCase{"NonTextMeasuredAsText", db::Value::binary(QByteArray::fromHex("00ff10")),
                   "VARCHAR(8)", "VARCHAR(8)"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SampledTextRule, CountsCharactersNotBytes) {
    const db::Value sample = db::Value::text(QStringLiteral("ÄÖÜäöü"));
    EXPECT_EQ(sql::sampledTextType(&sample, QStringLiteral("TEXT")), "VARCHAR(6)");
}

}  // namespace
}  // namespace dorvane
