#include "literal_conversion.hpp"

#include "datetime_values.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace standin {

std::string formatScaled(__int128 value, int scale) {
    bool negative = value < 0;
    if (negative) value = -value;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value > 0);
    if (scale > 0) {
        if (static_cast<int>(digits.size()) <= scale) {
            digits.insert(0, static_cast<size_t>(scale) - digits.size() + 1, '0');
        }
        digits.insert(digits.size() - static_cast<size_t>(scale), ".");
    }
    return (negative ? "-" : "") + digits;
}

std::string hexText(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out = "\\x";
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

namespace {

using Int128 = __int128;

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool isStringKind(const Literal& l) {
    return l.kind == Literal::Kind::String || l.kind == Literal::Kind::NationalString;
}

// The data type SQL Server gives the literal, as its messages name it.
std::string sourceTypeName(const Literal& l) {
    switch (l.kind) {
        case Literal::Kind::NationalString:
            return "nvarchar";
        case Literal::Kind::String:
            return "varchar";
        case Literal::Kind::Hex:
            return "varbinary";
        case Literal::Kind::Number:
            return l.text.find_first_of("eE") != std::string::npos ? "float"
                   : l.text.find('.') != std::string::npos         ? "numeric"
                                                                   : "int";
        default:
            return "NULL";
    }
}

SqlError conversionFailed(const Literal& l, const std::string& target) {
    return SqlError(245, 16, 1,
                    "Conversion failed when converting the " + sourceTypeName(l) + " value '" +
                        l.text + "' to data type " + target + ".");
}

SqlError errorConverting(const Literal& l, const std::string& target) {
    return SqlError(8114, 16, 5,
                    "Error converting data type " + sourceTypeName(l) + " to " + target + ".");
}

SqlError overflowConverting(const std::string& from, const std::string& target) {
    return SqlError(
        8115, 16, 2,
        "Arithmetic overflow error converting " + from + " to data type " + target + ".");
}

SqlError truncated() {
    return SqlError(8152, 16, 14, "String or binary data would be truncated.");
}

// Sign, integer digits and fraction digits of a plain decimal number.
struct DecimalText {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
};

std::optional<DecimalText> parseDecimalText(const std::string& text) {
    DecimalText d;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        d.integerDigits += text[i++];
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            d.fractionDigits += text[i++];
        }
    }
    if (i != text.size() || (d.integerDigits.empty() && d.fractionDigits.empty())) {
        return std::nullopt;
    }
    return d;
}

// Rounds half away from zero to `scale` digits; nothing when more than `precision` digits.
std::optional<Int128> scaledValue(const DecimalText& d, int precision, int scale) {
    std::string fraction = d.fractionDigits;
    bool roundUp =
        static_cast<int>(fraction.size()) > scale && fraction[static_cast<size_t>(scale)] >= '5';
    fraction.resize(static_cast<size_t>(scale), '0');
    std::string digits = d.integerDigits + fraction;
    size_t firstNonZero = digits.find_first_not_of('0');
    digits = firstNonZero == std::string::npos ? "0" : digits.substr(firstNonZero);
    if (static_cast<int>(digits.size()) > precision) return std::nullopt;
    Int128 value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    if (roundUp) ++value;
    Int128 limit = 1;
    for (int i = 0; i < precision; ++i) limit *= 10;
    if (value >= limit) return std::nullopt;
    return d.negative ? -value : value;
}

// A number literal with an exponent, written out as a plain decimal.
std::string plainDecimal(const std::string& text) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.40Lf", std::strtold(text.c_str(), nullptr));
    return buffer;
}

std::string convertInteger(const Literal& l, const DeclaredType& column) {
    const std::string name = column.keyword();
    Int128 low = 0, high = 0;
    switch (column.type) {
        case SqlType::TinyInt:
            low = 0, high = 255;
            break;
        case SqlType::SmallInt:
            low = -32768, high = 32767;
            break;
        case SqlType::Int:
            low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
            break;
        default:
            low = std::numeric_limits<int64_t>::min(), high = std::numeric_limits<int64_t>::max();
            break;
    }
    if (isStringKind(l)) {
        std::string text = trimmed(l.text);
        if (text.empty()) return "0";
        auto d = parseDecimalText(text);
        if (!d || !d->fractionDigits.empty() || text.find('.') != std::string::npos ||
            d->integerDigits.empty()) {
            throw conversionFailed(l, name);
        }
        auto value = scaledValue(*d, 38, 0);
        if (!value || *value < low || *value > high) {
            if (column.type == SqlType::BigInt) throw errorConverting(l, name);
            if (column.type == SqlType::Int) {
                throw SqlError(248, 16, 1,
                               "The conversion of the " + sourceTypeName(l) + " value '" + l.text +
                                   "' overflowed an int column.");
            }
            throw SqlError(244, 16, 1,
                           "The conversion of the " + sourceTypeName(l) + " value '" + l.text +
                               "' overflowed an " +
                               (column.type == SqlType::TinyInt ? "INT1" : "INT2") +
                               " column. Use a larger integer column.");
        }
        return formatScaled(*value, 0);
    }
    if (l.kind != Literal::Kind::Number) {
        throw unsupported("converting " + sourceTypeName(l) + " to " + name);
    }
    std::string text =
        l.text.find_first_of("eE") != std::string::npos ? plainDecimal(l.text) : l.text;
    auto d = parseDecimalText(text);
    if (!d) throw conversionFailed(l, name);
    d->fractionDigits.clear();  // numeric to integer truncates
    auto value = scaledValue(*d, 38, 0);
    bool fitsInt = value && *value >= std::numeric_limits<int32_t>::min() &&
                   *value <= std::numeric_limits<int32_t>::max();
    if (!value || *value < low || *value > high) {
        if ((column.type == SqlType::TinyInt || column.type == SqlType::SmallInt) && fitsInt &&
            sourceTypeName(l) == "int") {
            throw SqlError(220, 16, 2,
                           "Arithmetic overflow error for data type " + name +
                               ", value = " + formatScaled(*value, 0) + ".");
        }
        throw overflowConverting("expression", name);
    }
    return formatScaled(*value, 0);
}

std::string convertDecimal(const Literal& l, const DeclaredType& column) {
    bool fromString = isStringKind(l);
    if (!fromString && l.kind != Literal::Kind::Number) {
        throw unsupported("converting " + sourceTypeName(l) + " to " + column.keyword());
    }
    std::string text = fromString ? trimmed(l.text) : l.text;
    if (!fromString && text.find_first_of("eE") != std::string::npos) text = plainDecimal(text);
    auto d = parseDecimalText(text);
    if (!d) throw errorConverting(l, "numeric");
    auto value = scaledValue(*d, column.precision, column.scale);
    if (!value) throw overflowConverting(sourceTypeName(l), "numeric");
    return formatScaled(*value, column.scale);
}

std::string convertMoney(const Literal& l, const DeclaredType& column) {
    bool small = column.type == SqlType::SmallMoney;
    std::string text = isStringKind(l) ? trimmed(l.text) : l.text;
    if (l.kind == Literal::Kind::Hex) throw unsupported("converting varbinary to money");
    if (isStringKind(l) && text.empty()) return "0.0000";
    if (isStringKind(l) && !text.empty() && text[0] == '$') text.erase(0, 1);
    if (l.kind == Literal::Kind::Number && text.find_first_of("eE") != std::string::npos) {
        text = plainDecimal(text);
    }
    auto d = parseDecimalText(text);
    if (!d) {
        throw SqlError(
            235, 16, 0,
            "Cannot convert a char value to money. The char value has incorrect syntax.");
    }
    auto value = scaledValue(*d, 38, 4);
    Int128 limit = small ? Int128(2147483647) : Int128(std::numeric_limits<int64_t>::max());
    if (!value || *value > limit || *value < -limit - 1) {
        throw overflowConverting("expression", small ? "smallmoney" : "money");
    }
    return formatScaled(*value, 4);
}

std::string convertFloat(const Literal& l, const DeclaredType& column) {
    const std::string name = column.type == SqlType::Real ? "real" : "float";
    if (l.kind == Literal::Kind::Hex) throw unsupported("converting varbinary to " + name);
    std::string text = isStringKind(l) ? trimmed(l.text) : l.text;
    if (text.empty()) return "0";
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    bool plainNumber = text.find_first_not_of("0123456789+-.eE") == std::string::npos;
    if (end != text.c_str() + text.size() || !plainNumber || !std::isfinite(value)) {
        throw errorConverting(l, name);
    }
    char buffer[64];
    if (column.type == SqlType::Real) {
        if (std::fabs(value) > std::numeric_limits<float>::max()) {
            throw overflowConverting("expression", "real");
        }
        std::snprintf(buffer, sizeof buffer, "%.9g",
                      static_cast<double>(static_cast<float>(value)));
    } else {
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
    }
    return buffer;
}

std::string convertBit(const Literal& l) {
    if (l.kind == Literal::Kind::Hex) throw unsupported("converting varbinary to bit");
    std::string text = isStringKind(l) ? trimmed(l.text) : l.text;
    std::string folded = foldCase(text);
    if (folded == "true") return "true";
    if (folded == "false" || text.empty()) return "false";
    auto d = parseDecimalText(text);
    if (!d || (isStringKind(l) && !d->fractionDigits.empty())) throw conversionFailed(l, "bit");
    bool nonZero =
        (d->integerDigits + d->fractionDigits).find_first_not_of('0') != std::string::npos;
    return nonZero ? "true" : "false";
}

std::string convertDateTime(const Literal& l, const DeclaredType& column) {
    if (!isStringKind(l)) {
        throw unsupported("converting " + sourceTypeName(l) + " to " + column.keyword());
    }
    const std::string target = column.keyword();
    auto outOfRange = [&] {
        return SqlError(242, 16, 3,
                        "The conversion of a " + sourceTypeName(l) + " data type to a " + target +
                            " data type resulted in an out-of-range value.");
    };
    auto failed = [&] {
        if (column.type == SqlType::SmallDateTime) {
            return SqlError(
                295, 16, 3,
                "Conversion failed when converting character string to smalldatetime data type.");
        }
        return SqlError(
            241, 16, 1,
            "Conversion failed when converting date and/or time from character string.");
    };
    std::string_view local = l.text;
    int offsetMinutes = 0;
    if (column.type == SqlType::DateTimeOffset) {
        auto split = splitOffset(l.text);
        if (!split) throw failed();
        local = split->local;
        offsetMinutes = split->minutes;
    }
    auto parsed = parseDateTimeText(local);
    if (!parsed) throw failed();
    const DateTimeText& t = *parsed;
    bool classic = column.type == SqlType::DateTime || column.type == SqlType::SmallDateTime;
    if (!isValidCalendarDate(t.year, t.month, t.day)) {
        if (classic && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31) {
            throw outOfRange();
        }
        throw failed();
    }
    int maxDigits = classic ? 3 : 7;
    if (t.fractionDigits > maxDigits) throw failed();

    Instant at{daysSinceYearOne(t.year, t.month, t.day),
               ((t.hour * 60 + t.minute) * 60 + t.second) * kTicksPerSecond};
    int64_t fraction = fractionTicks(t);
    switch (column.type) {
        case SqlType::DateTime: {
            // datetime keeps steps of 1/300 s, written as .000, .003 and .007 milliseconds.
            int64_t ms = fraction / 10'000;
            int64_t threeHundredths = (ms * 3 + 5) / 10;
            at.ticks += (threeHundredths * 10 + 1) / 3 * 10'000;
            break;
        }
        case SqlType::SmallDateTime: {
            int64_t secondsTicks = t.second * kTicksPerSecond + fraction;
            at.ticks -= t.second * kTicksPerSecond;
            if (secondsTicks >= 29'999 * 10'000) at.ticks += 60 * kTicksPerSecond;
            break;
        }
        default: {
            int64_t unit = 1;
            for (int i = column.scale; i < 7; ++i) unit *= 10;
            at.ticks += (fraction + unit / 2) / unit * unit;
            break;
        }
    }
    if (at.ticks >= kTicksPerDay) {
        at.ticks -= kTicksPerDay;
        ++at.days;
    }
    int64_t first = column.type == SqlType::DateTime        ? daysSinceYearOne(1753, 1, 1)
                    : column.type == SqlType::SmallDateTime ? daysSinceYearOne(1900, 1, 1)
                                                            : 0;
    int64_t last = column.type == SqlType::SmallDateTime ? daysSinceYearOne(2079, 6, 6)
                                                         : daysSinceYearOne(9999, 12, 31);
    if (at.days < first || at.days > last) {
        if (classic) throw outOfRange();
        throw failed();
    }
    if (column.type == SqlType::DateTimeOffset) {
        // The value is kept as UTC, which must lie in the range too.
        int64_t utc = at.days * kTicksPerDay + at.ticks - offsetMinutes * 60 * kTicksPerSecond;
        if (utc < 0 || utc >= (last + 1) * kTicksPerDay) throw failed();
        return formatInstant(at, true, true, 7) + " " + formatOffset(offsetMinutes);
    }
    switch (column.type) {
        case SqlType::Date:
            return formatInstant(at, true, false, 0);
        case SqlType::Time:
            return formatInstant(at, false, true, 7);
        case SqlType::SmallDateTime:
            return formatInstant(at, true, true, 0);
        case SqlType::DateTime:
            return formatInstant(at, true, true, 3);
        default:
            return formatInstant(at, true, true, 7);
    }
}

std::string convertGuid(const Literal& l) {
    if (!isStringKind(l))
        throw unsupported("converting " + sourceTypeName(l) + " to uniqueidentifier");
    std::string text = trimmed(l.text);
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    bool ok = text.size() == 36;
    for (size_t i = 0; ok && i < text.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        ok = dash ? text[i] == '-' : std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    }
    if (!ok) {
        throw SqlError(
            8169, 16, 2,
            "Conversion failed when converting from a character string to uniqueidentifier.");
    }
    return foldCase(text);
}

std::string convertBinary(const Literal& l, const DeclaredType& column) {
    if (isStringKind(l)) {
        std::string target = column.type == SqlType::Image ? "image"
                             : column.isMax()              ? "varbinary(max)"
                                                           : column.keyword();
        throw SqlError(257, 16, 3,
                       "Implicit conversion from data type " + sourceTypeName(l) + " to " + target +
                           " is not allowed. Use the CONVERT function to run this query.",
                       true);
    }
    if (l.kind != Literal::Kind::Hex) {
        throw unsupported("converting " + sourceTypeName(l) + " to " + column.keyword());
    }
    std::string bytes = l.text;
    if (column.type != SqlType::Image && !column.isMax() &&
        bytes.size() > static_cast<size_t>(column.length)) {
        throw truncated();
    }
    if (column.type == SqlType::Binary) bytes.resize(static_cast<size_t>(column.length), '\0');
    return hexText(bytes);
}

std::string convertCharacter(const Literal& l, const DeclaredType& column) {
    if (l.kind == Literal::Kind::Hex) {
        throw unsupported("converting varbinary to " + column.keyword());
    }
    std::string text = l.text;
    // A varchar literal already lives in the database code page.
    bool unicodeColumn = isUnicodeType(column.type) || column.type == SqlType::Xml;
    if (l.kind != Literal::Kind::NationalString || !unicodeColumn) {
        text = squashToCp1252(text);
    }
    if (column.type == SqlType::Xml) {
        if (text.rfind("<?xml", 0) == 0) {
            size_t end = text.find("?>");
            text = end == std::string::npos ? text : text.substr(end + 2);
        }
        return text;
    }
    if (column.type == SqlType::Text || column.type == SqlType::NText || column.isMax()) {
        return text;
    }
    std::u16string units = utf8ToUtf16(text);
    auto limit = static_cast<size_t>(column.length);
    if (units.size() > limit) {
        // Only trailing blanks may be cut silently.
        if (units.find_first_not_of(u' ', limit) != std::u16string::npos) throw truncated();
        units.resize(limit);
    }
    if (column.type == SqlType::Char || column.type == SqlType::NChar) units.resize(limit, u' ');
    return utf16ToUtf8(units);
}

}  // namespace

std::optional<std::string> convertLiteral(const Literal& literal, const DeclaredType& column) {
    if (literal.kind == Literal::Kind::Null) return std::nullopt;
    switch (column.type) {
        case SqlType::TinyInt:
        case SqlType::SmallInt:
        case SqlType::Int:
        case SqlType::BigInt:
            return convertInteger(literal, column);
        case SqlType::Decimal:
        case SqlType::Numeric:
            return convertDecimal(literal, column);
        case SqlType::Money:
        case SqlType::SmallMoney:
            return convertMoney(literal, column);
        case SqlType::Float:
        case SqlType::Real:
            return convertFloat(literal, column);
        case SqlType::Bit:
            return convertBit(literal);
        case SqlType::DateTime:
        case SqlType::SmallDateTime:
        case SqlType::DateTime2:
        case SqlType::Date:
        case SqlType::Time:
        case SqlType::DateTimeOffset:
            return convertDateTime(literal, column);
        case SqlType::UniqueIdentifier:
            return convertGuid(literal);
        case SqlType::Binary:
        case SqlType::VarBinary:
        case SqlType::Image:
            return convertBinary(literal, column);
        default:
            return convertCharacter(literal, column);
    }
}

}  // namespace standin
