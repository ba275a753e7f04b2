#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "db/values/ado_type.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/postgres_statements.h"
#include "sql/sqlserver_statements.h"
#include "sql/type_proposals.h"

namespace dorvane {
namespace {

using db::AdoType;

// The copy's original choice of a column type: the first rule whose text the lower-cased
// ADO type name contains, else the fallback (the last rule, which contains nothing). The
// tables must give every source type the column its rule wrote, at its rule's step.
template <class Rule>
struct SubstringRule {
    const char16_t* contained;
    Rule rule;
    const char* column;  // "(p,s)" stands for the source's own size
};

template <class Rule>
const SubstringRule<Rule>& walk(std::span<const SubstringRule<Rule>> rules, AdoType type) {
    const QString name = db::adoTypeName(type).toLower();
    for (const SubstringRule<Rule>& rule : rules.first(rules.size() - 1))
        if (name.contains(QStringView(rule.contained))) return rule;
    return rules.back();
}

namespace pg = sql::to_postgres;
const SubstringRule<pg::TypeRule> kToPostgresRules[] = {
    {u"btimestamp", pg::TypeRule::BTimestamp, "TIMESTAMP"},
    {u"char", pg::TypeRule::Char, "TEXT"},
    {u"longvar", pg::TypeRule::LongVar, "TEXT"},
    {u"int", pg::TypeRule::Int, "NUMERIC"},
    {u"currency", pg::TypeRule::Currency, "NUMERIC"},
    {u"date", pg::TypeRule::Date, "DATE"},
    {u"bool", pg::TypeRule::Bool, "BOOL"},
    {nullptr, pg::TypeRule::Fallback, "TEXT"},
};

namespace ms = sql::to_sqlserver;
const SubstringRule<ms::TypeRule> kToSqlServerRules[] = {
    {u"char", ms::TypeRule::Char, "VARCHAR(8000)"},
    {u"decimal", ms::TypeRule::Decimal, "DECIMAL(p,s)"},
    {u"single", ms::TypeRule::Single, "FLOAT"},
    {u"bigint", ms::TypeRule::Int, "BIGINT"},
    {u"int", ms::TypeRule::Int, "FLOAT"},
    {u"adlongvarbinary", ms::TypeRule::AdLongVarBinary, "VARBINARY(MAX)"},
    {u"longvar", ms::TypeRule::LongVar, "MEMO"},
    {u"numeric", ms::TypeRule::Numeric, "NUMERIC(p,s)"},
    {u"date", ms::TypeRule::Date, "DATETIME"},
    {u"timestamp", ms::TypeRule::Timestamp, "DATETIME"},
    {u"double", ms::TypeRule::Double, "FLOAT"},
    {nullptr, ms::TypeRule::Fallback, "VARCHAR(8000)"},
};

// A one-column table of a source of size (10,2): its CREATE TABLE, the rule whose step
// appends the column, and whether its values go without quotes.
struct Choice {
    QString createTable;
    int rule;
    bool unquoted;
    friend bool operator==(const Choice&, const Choice&) = default;
    friend void PrintTo(const Choice& c, std::ostream* os) {
        *os << c.createTable.toStdString() << " rule " << c.rule << (c.unquoted ? " unquoted" : "");
    }
};

db::FieldInfo column(AdoType type) {
    return db::FieldInfo{QStringLiteral("c"), type, 10, 2, QString()};
}

Choice toPostgresByRules(AdoType type) {
    const auto& rule = walk<pg::TypeRule>(kToPostgresRules, type);
    const bool numeric = rule.rule == pg::TypeRule::Int || rule.rule == pg::TypeRule::Currency;
    return {QStringLiteral(R"(CREATE TABLE "t"("c" %1))").arg(QString::fromLatin1(rule.column)),
            static_cast<int>(rule.rule), numeric};
}

Choice toPostgresByTable(AdoType type) {
    const db::FieldInfo field = column(type);
    const pg::CreateTable create = pg::createTableStatement(QStringLiteral("t"), {&field, 1});
    return {create.sql, static_cast<int>(pg::rowFor(type).copy.rule),
            sql::isFlagged(create.numericList, 0)};
}

Choice toSqlServerByRules(AdoType type) {
    const auto& rule = walk<ms::TypeRule>(kToSqlServerRules, type);
    const QString columnType = QString::fromLatin1(rule.column).replace("(p,s)", "(10,2)");
    return {QStringLiteral("CREATE TABLE [t]([c] %1);").arg(columnType),
            static_cast<int>(rule.rule), false};
}

Choice toSqlServerByTable(AdoType type) {
    const db::FieldInfo field = column(type);
    return {ms::createTableStatement(QStringLiteral("t"), {&field, 1}),
            static_cast<int>(ms::rowFor(type).copy.rule), false};
}

struct Dialect {
    const char* name;
    sql::TargetServer target;
    Choice (*byRules)(AdoType);
    Choice (*byTable)(AdoType);
    std::vector<AdoType> (*sources)();  // the types the table's rows name
    const sql::Proposal& (*proposal)(AdoType);
};

template <class Copy>
std::vector<AdoType> sourcesOf(const sql::TargetTypes<Copy>& types) {
    std::vector<AdoType> sources;
    for (const auto& row : types.rows) sources.push_back(row.source);
    return sources;
}

const Dialect kDialects[] = {
    {"ToPostgreSQL", sql::TargetServer::PostgreSQL, toPostgresByRules, toPostgresByTable,
     [] { return sourcesOf(pg::targetTypes()); },
     [](AdoType type) -> const sql::Proposal& { return pg::rowFor(type).proposal; }},
    {"ToSqlServer", sql::TargetServer::SqlServer, toSqlServerByRules, toSqlServerByTable,
     [] { return sourcesOf(ms::targetTypes()); },
     [](AdoType type) -> const sql::Proposal& { return ms::rowFor(type).proposal; }},
};

constexpr auto kUnnamed = static_cast<AdoType>(1);

// Every type ADO names, and a number it does not.
std::vector<AdoType> sourceTypes() {
    std::vector<AdoType> types;
    for (int code = INT16_MIN; code <= INT16_MAX; ++code)
        if (!db::adoTypeName(static_cast<AdoType>(code)).isEmpty())
            types.push_back(static_cast<AdoType>(code));
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

class TypeMap : public ::testing::TestWithParam<std::tuple<Dialect, AdoType>> {};

// The table reproduces the copy's CREATE TABLE, and the step each column is appended at,
// as the substring rules chose them; and the dialog proposes what the row says.
TEST_P(TypeMap, GivesWhatTheSubstringRulesAndTheDialogGive) {
    // Not a structured binding: clang 14 cannot capture one in a lambda.
    const Dialect& dialect = std::get<0>(GetParam());
    const AdoType type = std::get<1>(GetParam());
    const std::vector<AdoType> sources = dialect.sources();
    EXPECT_EQ(std::count(sources.begin(), sources.end(), type), type == kUnnamed ? 0 : 1);

    EXPECT_EQ(dialect.byTable(type), dialect.byRules(type));

    const db::Value sample = db::Value::text(QStringLiteral("abc"));
    EXPECT_EQ(sql::proposedType(dialect.target, column(type), &sample),
              expectedProposal(dialect.proposal(type)));
}

std::string caseName(const ::testing::TestParamInfo<TypeMap::ParamType>& info) {
    const QString type = db::adoTypeName(std::get<AdoType>(info.param));
    return std::string(std::get<Dialect>(info.param).name) + '_' +
           (type.isEmpty() ? std::string("Unnamed") : type.toStdString());
}

INSTANTIATE_TEST_SUITE_P(EveryTypeBothWays, TypeMap,
                         ::testing::Combine(::testing::ValuesIn(kDialects),
                                            ::testing::ValuesIn(sourceTypes())),
                         caseName);

}  // namespace
}  // namespace dorvane
