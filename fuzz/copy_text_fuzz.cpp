// Rows for COPY ... FROM STDIN from random values and quoting flags: read back as the
// server reads the text format, every field is exactly what the value's literal in the
// row-by-row INSERT stands for (NULL, the number, the decoded '...' or E'...'); a row
// is refused exactly when a value holds what PostgreSQL cannot store, and then leaves
// the rows before it untouched.

#include <QByteArray>
#include <optional>
#include <vector>

#include "copy_text_reading.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "sql/copy_text.h"
#include "sql/general_value_text.h"
#include "sql/postgres_statements.h"
#include "sql/value_text.h"

using namespace dorvane;
using namespace dorvane::fuzz;

namespace {

bool holdsHalfSurrogatePair(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

bool postgresRefuses(const db::Value& value) {
    try {
        sql::checkPostgresCanHold(value);
    } catch (const std::runtime_error&) {
        return true;
    }
    return holdsHalfSurrogatePair(sql::valueText(value));
}

// What the one value of an INSERT stands for, read from its tokens.
std::optional<QString> insertedValue(const db::Value& value, bool unquoted) {
    const QString sql =
        sql::to_postgres::insertStatement(QStringLiteral("t"), {&value, 1}, {unquoted});
    std::vector<Token> tokens = tokenize(sql, Dialect::Postgres);
    // INSERT INTO "t" VALUES ( ... )
    require(tokens.size() >= 6 && tokens.back() == punct(u')'), "INSERT reads as one row", sql);
    const std::vector<Token> inner(tokens.begin() + 5, tokens.end() - 1);
    if (inner == std::vector<Token>{word(QStringLiteral("NULL"))}) return std::nullopt;
    if (inner.size() == 1 && inner[0].kind == Token::Kind::Literal) return inner[0].text;
    if (inner.size() == 1 && inner[0].kind == Token::Kind::Number) return inner[0].text;
    if (inner.size() == 2 && (inner[0] == punct(u'-') || inner[0] == punct(u'+')) &&
        inner[1].kind == Token::Kind::Number)
        return inner[0].text + inner[1].text;
    require(false, "INSERT value is NULL, a literal or a number", sql);
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const int count = in.ConsumeIntegralInRange(1, 6);
    std::vector<db::Value> values;
    std::vector<bool> unquoted;
    bool refusable = false;
    for (int i = 0; i < count; ++i) {
        values.push_back(value(in));
        // A text opening with U+FEFF, which an encoder may take for a byte order mark.
        if (values.back().kind() == db::Value::Kind::Text && in.ConsumeIntegralInRange(0, 7) == 0)
            values.back() = db::Value::text(QChar(0xfeff) + values.back().asString());
        unquoted.push_back(in.ConsumeBool());
        refusable = refusable || postgresRefuses(values.back());
    }
    const std::vector<QString> names(count, QStringLiteral("c"));
    const QString table = QStringLiteral("t");
    const QByteArray earlier = "earlier\t\\N\n";
    QByteArray out = earlier;
    sql::RowValues row{values};
    try {
        sql::appendCopyRow(out, row, unquoted, {table, names, 2});
    } catch (const std::runtime_error& e) {
        require(refusable, "only what PostgreSQL cannot store is refused",
                QString::fromUtf8(e.what()));
        require(out == earlier, "a refused row leaves the rows before it");
        return 0;
    }
    require(!refusable, "what PostgreSQL cannot store is refused");

    const auto rows = testing::readCopyRows(out);
    require(rows && rows->size() == 2 && (*rows)[1].size() == values.size(),
            "rows read back as written", QString::fromUtf8(out.toPercentEncoding()));
    for (int j = 0; j < count; ++j) {
        const std::optional<QString> expected = insertedValue(values[j], unquoted[j]);
        const std::optional<QString>& got = (*rows)[1][j];
        require(got == expected, "COPY carries what the INSERT stands for",
                QStringLiteral("value: ") + sql::valueText(values[j]) + QStringLiteral("\ngot: ") +
                    got.value_or(QStringLiteral("<null>")) + QStringLiteral("\nexpected: ") +
                    expected.value_or(QStringLiteral("<null>")));
    }
    return 0;
}
