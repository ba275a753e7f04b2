#include "sql/sqlserver_bulk_values.h"

#include <charconv>
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
bool appendInteger(QByteArray& out, QStringView text) {
    const std::optional<std::int64_t> value = wholeNumber(text);
    if (!value || *value < std::numeric_limits<Int>::min() ||
        *value > std::numeric_limits<Int>::max())
        return false;
    appendRaw(out, static_cast<Int>(*value));
    return true;
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
    qsizetype at = 0;
    const bool negative = !text.isEmpty() && text[0] == u'-';
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) ++at;
    const qsizetype point = text.indexOf(u'.', at);
    QStringView whole = text.sliced(at, (point < 0 ? text.size() : point) - at);
    QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (whole.isEmpty() && fraction.isEmpty()) return false;
    const auto isDigits = [](QStringView digits) {
        for (QChar c : digits)
            if (c < u'0' || c > u'9') return false;
        return true;
    };
    if (!isDigits(whole) || !isDigits(fraction)) return false;
    while (!whole.isEmpty() && whole.front() == u'0') whole = whole.sliced(1);
    while (!fraction.isEmpty() && fraction.back() == u'0') fraction.chop(1);
    if (whole.size() > precision - scale || fraction.size() > scale) return false;
    if (negative && !(whole.isEmpty() && fraction.isEmpty())) out.append('-');
    out.append(whole.isEmpty() ? QByteArray("0") : whole.toLatin1());
    if (scale > 0) {
        out.append('.');
        out.append(fraction.toLatin1());
        out.append(QByteArray(scale - fraction.size(), '0'));
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
        default:
            break;
    }
    const QString text = sqlServerValueText(value);
    switch (column.form) {
        case BulkForm::TinyInt:
            return appendInteger<std::uint8_t>(out, text);
        case BulkForm::SmallInt:
            return appendInteger<std::int16_t>(out, text);
        case BulkForm::Int:
            return appendInteger<std::int32_t>(out, text);
        case BulkForm::BigInt:
            return appendInteger<std::int64_t>(out, text);
        case BulkForm::Bit:
            return appendBit(out, text);
        case BulkForm::Float:
            return appendFloat(out, text);
        case BulkForm::Numeric:
            return appendNumeric(out, text, column.precision, column.scale);
        default:
            return false;
    }
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
