// The statements of a copy towards PostgreSQL, for random names, types, numeric column
// lists (the customization dialog may hand back any text) and values.

#include <QRegularExpression>

#include "db/odbc/recordset.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "sql/general_value_text.h"
#include "sql/postgres_statements.h"

using namespace dorvane;
using namespace dorvane::fuzz;

namespace {

bool isSqlNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    return number.match(text).hasMatch();
}

void expectValue(std::vector<Token>& out, const db::Value& v, bool unquoted) {
    const QString text = v.isNull() ? QString() : sql::valueText(v);
    if (v.isNull() || (unquoted && text.isEmpty())) {
        out.push_back(word(QStringLiteral("NULL")));
    } else if (unquoted && isSqlNumber(text)) {
        QString digits = text;
        if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
            out.push_back(punct(digits[0].unicode()));
            digits.remove(0, 1);
        }
        out.push_back(number(digits));
    } else {
        out.push_back(literal(text, text.contains(u'\\')));
    }
}

QString typeWord(db::AdoType type) {
    return QString::fromLatin1(sql::to_postgres::rowFor(type).copy.type);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const QString table = text(in, 130);
    std::vector<db::FieldInfo> fields(in.ConsumeIntegralInRange(1, 6));
    for (db::FieldInfo& f : fields) {
        f.name = text(in, 130);
        f.adoType = adoType(in);
    }

    requireTokens(
        sql::to_postgres::selectStatement(table), Dialect::Postgres,
        {word(QStringLiteral("SELECT")), punct(u'*'), word(QStringLiteral("FROM")), name(table)});
    requireTokens(sql::to_postgres::dropStatement(table), Dialect::Postgres,
                  {word(QStringLiteral("DROP")), word(QStringLiteral("TABLE")), name(table)});
    requireTokens(sql::to_postgres::renameStatement(table, fields[0].name), Dialect::Postgres,
                  {word(QStringLiteral("ALTER")), word(QStringLiteral("TABLE")), name(table),
                   word(QStringLiteral("RENAME")), word(QStringLiteral("TO")), name(fields[0].name),
                   punct(u';')});

    const auto create = sql::to_postgres::createTableStatement(table, fields);
    std::vector<Token> expected{word(QStringLiteral("CREATE")), word(QStringLiteral("TABLE")),
                                name(table), punct(u'(')};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) expected.push_back(punct(u','));
        expected.push_back(name(fields[i].name));
        expected.push_back(word(typeWord(fields[i].adoType)));
        const bool numeric = sql::to_postgres::rowFor(fields[i].adoType).copy.detail ==
                             sql::to_postgres::Values::Unquoted;
        require(sql::isFlagged(create.numericList, static_cast<int>(i)) == numeric,
                "a numeric column is flagged, and only a numeric one");
    }
    expected.push_back(punct(u')'));
    requireTokens(create.sql, Dialect::Postgres, expected);

    // The dialog may hand back any list; the automatic one most of the time.
    const int fieldCount = static_cast<int>(fields.size());
    const std::vector<bool> unquoted =
        in.ConsumeIntegralInRange(0, 3) == 0
            ? sql::to_postgres::unquotedColumns(text(in, 20), fieldCount)
            : sql::to_postgres::unquotedColumns(create.numericList, fieldCount);
    require(unquoted.size() == fields.size(), "one flag per field");

    std::vector<db::Value> row;
    for (int i = 0; i < fieldCount; ++i) row.push_back(value(in));
    expected = {word(QStringLiteral("INSERT")), word(QStringLiteral("INTO")), name(table),
                word(QStringLiteral("VALUES")), punct(u'(')};
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0) expected.push_back(punct(u','));
        expectValue(expected, row[i], unquoted[i]);
    }
    expected.push_back(punct(u')'));
    requireTokens(sql::to_postgres::insertStatement(table, row, unquoted), Dialect::Postgres,
                  expected);
    return 0;
}
