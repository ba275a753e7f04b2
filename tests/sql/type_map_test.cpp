#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/ado_type.h"
#include "db/values/value.h"
#include "sql/postgres_type_map.h"
#include "sql/sqlserver_type_map.h"
#include "sql/type_proposals.h"

namespace dorvane {
namespace {

using db::AdoType;

// What the copy writes for a type, in the table's terms.
struct CopyOutcome {
    QString column;
    sql::Values values;
    friend bool operator==(const CopyOutcome&, const CopyOutcome&) = default;
};

// The walk the commands make: each rule tested in turn on the lower-cased ADO name.
template <class Rule>
const Rule& walkRules(std::span<const Rule> rules, const Rule& fallback, const QString& name) {
    for (const Rule& rule : rules)
        if (name.contains(QStringView(rule.contained))) return rule;
    return fallback;
}

CopyOutcome copyToPostgres(const QString& lowerName) {
    const auto& rule =
        walkRules(sql::to_postgres::columnRules(), sql::to_postgres::fallbackRule(), lowerName);
    QString column = QString::fromUtf16(rule.fragment).trimmed();  // " NUMERIC,"
    column.chop(1);
    return {column, rule.numeric ? sql::Values::Unquoted : sql::Values::Quoted};
}

CopyOutcome copyToSqlServer(const QString& lowerName) {
    const auto& rule =
        walkRules(sql::to_sqlserver::columnRules(), sql::to_sqlserver::fallbackRule(), lowerName);
    QString column = QString::fromUtf16(rule.fragment).mid(2);  // "] FLOAT," or "] DECIMAL"
    if (rule.exact)
        column += u"(p,s)";
    else
        column.chop(1);
    return {column, sql::Values::Quoted};
}

struct Dialect {
    const char* name;
    sql::TargetServer target;
    CopyOutcome (*copy)(const QString& lowerName);
    std::span<const sql::TypeMapRow> (*rows)();
    const sql::TypeMapRow& (*row)(db::AdoType);
};

const Dialect kDialects[] = {
    {"ToPostgreSQL", sql::TargetServer::PostgreSQL, copyToPostgres,
     [] { return sql::to_postgres::targetTypes().rows; },
     [](db::AdoType type) -> const sql::TypeMapRow& {
         return sql::to_postgres::targetTypes().rowFor(type);
     }},
    {"ToSqlServer", sql::TargetServer::SqlServer, copyToSqlServer,
     [] { return sql::to_sqlserver::targetTypes().rows; },
     [](db::AdoType type) -> const sql::TypeMapRow& {
         return sql::to_sqlserver::targetTypes().rowFor(type);
     }},
};

constexpr auto kUnnamed = static_cast<db::AdoType>(1);

// Every type ADO names, and a number it does not.
std::vector<db::AdoType> sourceTypes() {
    std::vector<db::AdoType> types;
    for (int code = INT16_MIN; code <= INT16_MAX; ++code)
        if (!db::adoTypeName(static_cast<db::AdoType>(code)).isEmpty())
            types.push_back(static_cast<db::AdoType>(code));
    types.push_back(kUnnamed);
    return types;
}

// The proposal for a first value of three characters and a source of size (10,2).
QString expectedProposal(const sql::Proposal& proposal) {
    const QString text = QString::fromLatin1(proposal.text);
    switch (proposal.rule) {
        case sql::ProposalRule::Fixed:
            return text;
        case sql::ProposalRule::SampledText:
            return QStringLiteral("VARCHAR(3)");
        case sql::ProposalRule::ExactNumber:
            return text + QStringLiteral("(10,2)");
    }
    return {};
}

class TypeMap : public ::testing::TestWithParam<std::tuple<Dialect, db::AdoType>> {};

TEST_P(TypeMap, HoldsWhatTheRuleWalkAndTheDialogGive) {
    // Not a structured binding: clang 14 cannot capture one in a lambda.
    const Dialect& dialect = std::get<0>(GetParam());
    const db::AdoType type = std::get<1>(GetParam());
    const auto rows = dialect.rows();
    const auto named = std::count_if(rows.begin(), rows.end(),
                                     [&](const sql::TypeMapRow& r) { return r.source == type; });
    EXPECT_EQ(named, type == kUnnamed ? 0 : 1);

    const sql::TypeMapRow& row = dialect.row(type);
    const CopyOutcome table{QString::fromLatin1(row.copyColumn), row.values};
    EXPECT_EQ(dialect.copy(db::adoTypeName(type).toLower()), table);

    const db::FieldInfo field{QStringLiteral("c"), type, 10, 2, QString()};
    const db::Value sample = db::Value::text(QStringLiteral("abc"));
    EXPECT_EQ(sql::proposedType(dialect.target, field, &sample), expectedProposal(row.proposal));
}

std::string caseName(const ::testing::TestParamInfo<TypeMap::ParamType>& info) {
    const QString type = db::adoTypeName(std::get<db::AdoType>(info.param));
    return std::string(std::get<Dialect>(info.param).name) + '_' +
           (type.isEmpty() ? std::string("Unnamed") : type.toStdString());
}

INSTANTIATE_TEST_SUITE_P(EveryTypeBothWays, TypeMap,
                         ::testing::Combine(::testing::ValuesIn(kDialects),
                                            ::testing::ValuesIn(sourceTypes())),
                         caseName);

}  // namespace
}  // namespace dorvane
