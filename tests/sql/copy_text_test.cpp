// Rows for COPY ... FROM STDIN: each field carries what the row's INSERT literal stands
// for, escaped so the server reads it back exactly, and refused where the INSERT is.

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

#include "copy_text_reading.h"
#include "sql/copy_text.h"
#include "sql/general_value_text.h"
#include "sql/postgres_copy_statement.h"
#include "sql/statement_pieces.h"

namespace dorvane::sql {
namespace {

using db::Value;
using testing::CopyField;
using testing::readCopyRows;

QByteArray field(const Value& value, bool unquoted = false) {
    QByteArray out;
    appendCopyField(out, value, unquoted);
    return out;
}

TEST(CopyText, FieldsAreTheValueTextEscaped) {
    struct Case {
        Value value;
        bool unquoted;
        QByteArray expected;
    };
    const Case cases[] = {
        {Value(), false, "\\N"},
        {Value(), true, "\\N"},
        {Value::text(QString()), false, ""},    // '' stays ''
        {Value::text(QString()), true, "\\N"},  // the INSERT writes NULL: no number is empty
        {Value::text(QStringLiteral("\\N")), false, "\\\\N"},
        {Value::text(QStringLiteral("C:\\data")), false, "C:\\\\data"},
        {Value::text(QStringLiteral("a\tb\nc\rd")), false, "a\\tb\\nc\\rd"},
        {Value::text(QStringLiteral("O'Brien \"x\" ;")), false, "O'Brien \"x\" ;"},
        {Value::text(QStringLiteral("\\.")), false, "\\\\."},
        {Value::text(QString::fromUtf8("é中😀")), false, "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80"},
        {Value::text(QChar(0xfeff) + QStringLiteral("x")), false,
         "\xef\xbb\xbfx"},  // not taken for a BOM
        {Value::text(QStringLiteral("12")), true, "12"},
        {Value::text(QStringLiteral("abc")), true, "abc"},  // quoted after all: same text
        {Value::decimal(QStringLiteral("-12.3400")), true, "-12.3400"},
        {Value::integer(-42), true, "-42"},
        {Value::boolean(true), false, "True"},
        {Value::binary(QByteArray("\x00\\\xff", 3)), false, "\\\\x005cff"},
        {Value::binary(QByteArray()), false, "\\\\x"},
        {Value::date({2024, 2, 29}), false, "2024-02-29"},
        {Value::timestamp({0, 1, 2, 3, 4, 5, 120'000'000}), true, "0001-01-02 03:04:05.120000 BC"},
        {Value::dbl(-std::numeric_limits<double>::infinity()), true, "-Infinity"},
        {Value::single(0.1f), true, "0.1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(field(c.value, c.unquoted), c.expected) << sql::valueText(c.value).toStdString();
}

TEST(CopyText, RowsReadBackAsTheirValues) {
    const QString hostile =
        QStringLiteral("x\\y\tz\n\r'\"") + QString::fromUtf8("😀") + QStringLiteral("\\N\\.\\");
    QString longText;
    for (int i = 0; i < 200'000; ++i) longText += QStringLiteral("ab\\\t\n\r") + QChar(0x4e2d);
    const std::array<Value, 6> values{
        Value::text(hostile),  Value(),           Value::text(QString()),
        Value::text(longText), Value::integer(7), Value::binary(QByteArray(100'000, '\\'))};
    const QString names[] = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                             QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("f")};
    const QString table = QStringLiteral("t");
    QByteArray out;
    for (std::int64_t r = 1; r <= 2; ++r) {
        RowValues row{values};
        appendCopyRow(out, row, {false, false, false, false, true}, {table, names, r});
    }
    const auto rows = readCopyRows(out);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2u);
    const std::vector<CopyField> expected{hostile,  std::nullopt,        QString(),
                                          longText, QStringLiteral("7"), sql::valueText(values[5])};
    EXPECT_EQ(rows->at(0), expected);
    EXPECT_EQ(rows->at(1), expected);
}

TEST(CopyText, RefusedValueNamesItsPlaceAndLeavesEarlierRows) {
    const QString table = QStringLiteral("t");
    const QString names[] = {QStringLiteral("a"), QStringLiteral("b")};
    const std::array<Value, 2> good{Value::text(QStringLiteral("x")), Value()};
    // A NUL is named before a half surrogate pair, wherever each stands.
    const QString nul = QStringLiteral("a NUL character");
    const QString half = QStringLiteral("half of a UTF-16 surrogate pair");
    const struct {
        Value bad;
        QString reason;
    } refused[] = {
        {Value::text(QString::fromUtf16(u"a\0b", 3)), nul},
        {Value::text(QString::fromUtf16(u"\u00e9\0", 2)), nul},
        {Value::guid(QString::fromUtf16(u"\xd800x\0", 3)), nul},
        {Value::text(QString(QChar(0xd800)) + QStringLiteral("x")), half},
        {Value::text(QStringLiteral("x\t\u4e2d") + QChar(0xdc00)), half},
        {Value::decimal(QString::fromUtf16(u"1\0\xdc00", 3)), half},
    };
    for (const auto& [bad, reason] : refused) {
        QByteArray out;
        RowValues first{good};
        appendCopyRow(out, first, {}, {table, names, 1});
        const QByteArray before = out;
        const std::array<Value, 2> values{Value::text(QStringLiteral("kept?")), bad};
        RowValues second{values};
        try {
            appendCopyRow(out, second, {}, {table, names, 2});
            ADD_FAILURE() << "no refusal";
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith(
                QStringLiteral("Table t, column b, row 2: The value holds ") + reason))
                << e.what();
        }
        EXPECT_EQ(out, before);
    }
}

TEST(CopyText, StatementQuotesEveryName) {
    EXPECT_EQ(to_postgres::copyStatement(QStringLiteral("t")),
              QStringLiteral(R"(COPY "t" FROM STDIN)"));
    const QString columns[] = {QStringLiteral("a"), QStringLiteral("b\"; DROP")};
    EXPECT_EQ(to_postgres::copyStatement(QStringLiteral("x\"y"), columns),
              QStringLiteral(R"(COPY "x""y" ("a","b""; DROP") FROM STDIN)"));
}

}  // namespace
}  // namespace dorvane::sql
