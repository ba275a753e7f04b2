// The statements of a copy towards SQL Server, for random names, types and values.

#include "db/odbc/recordset.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "sql/sqlserver_statements.h"
#include "sql/value_text.h"

using namespace dorvane;
using namespace dorvane::fuzz;

namespace {

// A column definition: its name, one type word, and an optional "(n)", "(p,s)" or "(MAX)".
bool readColumn(const std::vector<Token>& t, std::size_t& at, const QString& fieldName) {
    if (at + 1 >= t.size() || !(t[at] == name(fieldName)) || t[at + 1].kind != Token::Kind::Word)
        return false;
    at += 2;
    if (at < t.size() && t[at] == punct(u'(')) {
        if (++at < t.size() && t[at] == word(QStringLiteral("MAX"))) {
            ++at;
            if (at >= t.size() || !(t[at] == punct(u')'))) return false;
            ++at;
            return true;
        }
        if (at >= t.size() || t[at].kind != Token::Kind::Number) return false;
        ++at;
        if (at + 1 < t.size() && t[at] == punct(u',') && t[at + 1].kind == Token::Kind::Number)
            at += 2;
        if (at >= t.size() || !(t[at] == punct(u')'))) return false;
        ++at;
    }
    return true;
}

void checkCreate(const QString& sql, const QString& table,
                 const std::vector<db::FieldInfo>& fields) {
    const std::vector<Token> t = tokenize(sql, Dialect::SqlServer);
    const std::vector<Token> head{word(QStringLiteral("CREATE")), word(QStringLiteral("TABLE")),
                                  name(table), punct(u'(')};
    bool ok = t.size() >= head.size() && std::equal(head.begin(), head.end(), t.begin());
    std::size_t at = head.size();
    for (std::size_t i = 0; ok && i < fields.size(); ++i) {
        if (i > 0) ok = at < t.size() && t[at++] == punct(u',');
        ok = ok && readColumn(t, at, fields[i].name);
    }
    ok = ok && at + 2 == t.size() && t[at] == punct(u')') && t[at + 1] == punct(u';');
    require(ok, "CREATE TABLE keeps its quoting", sql + QStringLiteral("\ngot: ") + describe(t));
}

bool beyondAscii(const QString& s) {
    for (QChar c : s)
        if (c.unicode() > 0x7f) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const QString table = text(in, 130);
    std::vector<db::FieldInfo> fields(in.ConsumeIntegralInRange(1, 6));
    for (db::FieldInfo& f : fields) {
        f.name = text(in, 130);
        f.adoType = adoType(in);
        f.precision = in.ConsumeIntegral<std::int8_t>();
        f.scale = in.ConsumeIntegral<std::int8_t>();
    }

    requireTokens(
        sql::to_sqlserver::selectStatement(table), Dialect::Postgres,
        {word(QStringLiteral("SELECT")), punct(u'*'), word(QStringLiteral("FROM")), name(table)});
    requireTokens(sql::to_sqlserver::dropStatement(table), Dialect::SqlServer,
                  {word(QStringLiteral("DROP")), word(QStringLiteral("TABLE")), name(table)});
    requireTokens(
        sql::to_sqlserver::renameStatement(table, fields[0].name), Dialect::SqlServer,
        {word(QStringLiteral("sp_rename")), literal(table), punct(u','), literal(fields[0].name)});
    checkCreate(sql::to_sqlserver::createTableStatement(table, fields), table, fields);

    std::vector<db::Value> row;
    std::vector<Token> expected{word(QStringLiteral("INSERT")), word(QStringLiteral("INTO")),
                                name(table), word(QStringLiteral("VALUES")), punct(u'(')};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        row.push_back(value(in));
        if (i > 0) expected.push_back(punct(u','));
        if (row.back().isNull()) {
            expected.push_back(word(QStringLiteral("NULL")));
        } else {
            const QString text = sql::sqlServerValueText(row.back());
            expected.push_back(literal(text, beyondAscii(text)));
        }
        // Refusing a value is fine; crashing on one is not.
        const auto size = sql::to_sqlserver::exactSizeOf(fields[i]);
        require(size.precision >= 1 && size.precision <= 38 && size.scale >= 0 &&
                    size.scale <= size.precision,
                "exact sizes stay within what SQL Server accepts");
        try {
            sql::checkExactValueFits(row.back(), size);
        } catch (const std::runtime_error&) {
        }
    }
    expected.push_back(punct(u')'));
    requireTokens(sql::to_sqlserver::insertStatement(table, row), Dialect::SqlServer, expected);
    return 0;
}
