#include "sql/sqlserver_bulk_values.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "sql/value_text.h"

namespace dorvane::sql::to_sqlserver {
namespace {

using db::BulkForm;

struct NamedForm {
    const char16_t* typeName;
    BulkForm form;
};

// char, nchar and binary are left out: the server pads their values. text, ntext and
// image are left out as well, being kept apart from the row.
constexpr NamedForm kForms[] = {
    {u"varchar", BulkForm::Text},      {u"nvarchar", BulkForm::Text},
    {u"varbinary", BulkForm::Bytes},   {u"tinyint", BulkForm::TinyInt},
    {u"smallint", BulkForm::SmallInt}, {u"int", BulkForm::Int},
    {u"bigint", BulkForm::BigInt},     {u"bit", BulkForm::Bit},
    {u"float", BulkForm::Float},       {u"decimal", BulkForm::Numeric},
    {u"numeric", BulkForm::Numeric},   {u"datetime", BulkForm::Datetime},
};

// The driver holds each value it sends in a buffer of 4 KB whatever the column's size, and
// overruns it with a longer one (FreeTDS 1.3): longer values go as INSERTs.
constexpr qsizetype kLongestBytes = 4000;

template <class T>
void appendRaw(QByteArray& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A whole number written with digits only, as the server reads one into an integer column.
std::optional<std::int64_t> wholeNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 24) return std::nullopt;
    char digits[32];
    qsizetype n = 0;
    for (QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 0x80) && !(n == 0 && (c == u'-' || c == u'+')))
            return std::nullopt;
        if (c != u'+') digits[n++] = static_cast<char>(c.unicode());
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits, digits + n, value);
    if (error != std::errc() || end != digits + n) return std::nullopt;
    return value;
}

template <class Int>
bool appendInRange(QByteArray& out, std::int64_t value) {
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return false;
    appendRaw(out, static_cast<Int>(value));
    return true;
}

// `value` in the integer column's size; false outside its range.
bool appendInteger(QByteArray& out, BulkForm form, std::int64_t value) {
    switch (form) {
        case BulkForm::TinyInt:
            return appendInRange<std::uint8_t>(out, value);
        case BulkForm::SmallInt:
            return appendInRange<std::int16_t>(out, value);
        case BulkForm::Int:
            return appendInRange<std::int32_t>(out, value);
        default:
            return appendInRange<std::int64_t>(out, value);
    }
}

// The double the server reads from the number's text: the nearest one.
bool appendFloat(QByteArray& out, QStringView text) {
    if (!readsAsSqlNumber(text) || text.size() > 64) return false;
    const QByteArray latin = text.toLatin1();
    const char* begin = latin.constData();
    if (*begin == '+') ++begin;
    double value = 0;
    const auto [end, error] = std::from_chars(begin, latin.constData() + latin.size(), value);
    if (error != std::errc() || end != latin.constData() + latin.size()) return false;
    appendRaw(out, value);
    return true;
}

bool appendBit(QByteArray& out, QStringView text) {
    const bool one = text.compare(u"True", Qt::CaseInsensitive) == 0 || text == u"1";
    const bool zero = text.compare(u"False", Qt::CaseInsensitive) == 0 || text == u"0";
    if (!one && !zero) return false;
    out.append(one ? '\1' : '\0');
    return true;
}

// A decimal the column holds without rounding, written plainly with the column's scale.
// (The driver's own form of a decimal, SQL_NUMERIC_STRUCT, loses its last digits on the way
// when the column is of the same type.)
bool appendNumeric(QByteArray& out, QStringView text, int precision, int scale) {
    // The driver reads ASCII digits only.
    const std::optional<PlainDecimal> d = isAscii(text) ? plainDecimal(text) : std::nullopt;
    if (!d || d->whole.size() > precision - scale || d->fraction.size() > scale) return false;
    if (d->negative && !(d->whole.isEmpty() && d->fraction.isEmpty())) out.append('-');
    out.append(d->whole.isEmpty() ? QByteArray("0") : d->whole.toLatin1());
    if (scale > 0) {
        out.append('.');
        out.append(d->fraction.toLatin1());
        out.append(QByteArray(scale - d->fraction.size(), '0'));
    }
    return true;
}

bool appendDatetime(QByteArray& out, const db::Value& value) {
    if (value.kind() != db::Value::Kind::Date && value.kind() != db::Value::Kind::Timestamp)
        return false;
    const std::optional<SqlServerDatetime> held = sqlServerDatetime(value.asDateTime());
    if (!held) return false;
    appendRaw(out, held->days);
    appendRaw(out, held->ticks);
    return true;
}

bool appendValue(QByteArray& out, const db::Value& value, const BulkColumn& column) {
    switch (column.form) {
        case BulkForm::Bytes:
            if (value.kind() != db::Value::Kind::Binary || value.asBinary().size() > kLongestBytes)
                return false;
            out.append(value.asBinary());
            return true;
        case BulkForm::Datetime:
            return appendDatetime(out, value);
        case BulkForm::Text: {
            const QString text = sqlServerValueText(value);
            if (column.asciiOnly && !isAscii(text)) return false;
            // Two bytes a character at most, in a code page or as Unicode.
            if (text.size() * 2 > kLongestBytes) return false;
            out.append(text.toUtf8());
            return true;
        }
        case BulkForm::TinyInt:
        case BulkForm::SmallInt:
        case BulkForm::Int:
        case BulkForm::BigInt: {
            // An integer's text is its digits: it needs no trip through them.
            const std::optional<std::int64_t> whole =
                value.kind() == db::Value::Kind::Integer
                    ? std::optional<std::int64_t>(value.asInteger())
                    : wholeNumber(sqlServerValueText(value));
            return whole && appendInteger(out, column.form, *whole);
        }
        case BulkForm::Float:
            // A double's text is the shortest that reads back as it: no trip through it either.
            if (value.kind() == db::Value::Kind::Double) {
                if (!std::isfinite(value.asDouble())) return false;
                appendRaw(out, value.asDouble());
                return true;
            }
            return appendFloat(out, sqlServerValueText(value));
        case BulkForm::Bit:
            return appendBit(out, sqlServerValueText(value));
        case BulkForm::Numeric:
            return appendNumeric(out, sqlServerValueText(value), column.precision, column.scale);
    }
    return false;
}

// Words of a CREATE TABLE, outside quoted names and strings, after which bulk load would
// not do what an INSERT does.
constexpr const char16_t* kUnlikeInserts[] = {u"CHECK",      u"DEFAULT",    u"IDENTITY",
                                              u"AS",         u"REFERENCES", u"FOREIGN",
                                              u"ROWGUIDCOL", u"GENERATED"};

// Where a quoted name or string that starts at `at` ends, past its closing character.
qsizetype pastQuoted(QStringView sql, qsizetype at) {
    const QChar close = sql[at] == u'[' ? QChar(u']') : sql[at];
    for (qsizetype i = at + 1; i < sql.size(); ++i) {
        if (sql[i] != close) continue;
        if (i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;  // doubled: part of the name
            continue;
        }
        return i + 1;
    }
    return sql.size();
}

bool isWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

}  // namespace

bool bulkLoadLikeInserts(QStringView createTable) {
    for (qsizetype at = 0; at < createTable.size();) {
        const QChar c = createTable[at];
        if (c == u'[' || c == u'"' || c == u'\'') {
            at = pastQuoted(createTable, at);
            continue;
        }
        if (!isWordCharacter(c)) {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < createTable.size() && isWordCharacter(createTable[end])) ++end;
        const QStringView word = createTable.sliced(at, end - at);
        for (const char16_t* unlike : kUnlikeInserts)
            if (word.compare(QStringView(unlike), Qt::CaseInsensitive) == 0) return false;
        at = end;
    }
    return true;
}

std::optional<BulkColumn> bulkColumn(const db::FieldInfo& column) {
    const QString name = column.typeName.toLower();
    for (const NamedForm& named : kForms) {
        if (name != QStringView(named.typeName)) continue;
        BulkColumn bulk{named.form, column.precision, column.scale, column.nullable};
        bulk.asciiOnly = name == u"varchar";
        if (bulk.form == BulkForm::Numeric && (bulk.precision < 1 || bulk.precision > 38))
            return std::nullopt;
        return bulk;
    }
    return std::nullopt;
}

BulkCell bulkValue(const db::Value& value, const BulkColumn& column, QByteArray& out) {
    out.resize(0);
    if (value.isNull()) return column.nullable ? BulkCell::Null : BulkCell::None;
    return appendValue(out, value, column) ? BulkCell::Value : BulkCell::None;
}

}  // namespace dorvane::sql::to_sqlserver
