#include "sql/general_value_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "db/values/padded_digits.h"

namespace dorvane::sql {
namespace {

using db::DateTimeParts;
using db::Value;
using Kind = db::Value::Kind;

// Room for any float and any int parts: a date needs at most 38 characters with its
// era, a time 47, so text from a hostile source cannot overrun the buffer.
constexpr int kPartsTextSize = 64;

template <class Float>
int floatChars(Float v, char* out) {
    const auto copy = [out](const char* text) {
        const auto n = std::strlen(text);
        std::memcpy(out, text, n);
        return static_cast<int>(n);
    };
    if (std::isnan(v)) return copy("NaN");
    if (std::isinf(v)) return copy(v < 0 ? "-Infinity" : "Infinity");
    return static_cast<int>(std::to_chars(out, out + kPartsTextSize, v).ptr - out);
}

int dateChars(const DateTimeParts& p, char* out) {
    // PostgreSQL writes years before 1 AD counted back from 1 BC, with the era last.
    const std::int64_t year = p.year > 0 ? p.year : 1 - std::int64_t{p.year};
    return static_cast<int>(db::writeDate(out, year, p.month, p.day) - out);
}

int eraChars(const DateTimeParts& p, char* out) {
    if (p.year > 0) return 0;
    std::memcpy(out, " BC", 3);
    return 3;
}

int infinityChars(const DateTimeParts& p, char* out) {
    const char* text = p.infinity < 0 ? "-infinity" : "infinity";
    const auto n = std::strlen(text);
    std::memcpy(out, text, n);
    return static_cast<int>(n);
}

int timeChars(const DateTimeParts& p, char* out) {
    char* at = db::writeClock(out, p.hour, p.minute, p.second);
    if (p.nanosecond != 0) {
        *at++ = '.';
        // Seven digits only when there is something below the microsecond to show.
        if (p.nanosecond % 1000 == 0)
            at = db::writePadded(at, p.nanosecond / 1000, 6);
        else
            at = db::writePadded(at, p.nanosecond / 100, 7);
    }
    return static_cast<int>(at - out);
}

QString binaryText(const QByteArray& bytes) {
    return QStringLiteral("\\x") + QString::fromLatin1(bytes.toHex());
}

}  // namespace

QString valueText(const Value& value) {
    switch (value.kind()) {
        case Kind::Null:
            return QString();
        case Kind::Text:
        case Kind::Decimal:
        case Kind::Guid:
            return value.asString();  // shares the value's text
        default: {
            QString text;
            appendValueText(text, value);
            return text;
        }
    }
}

int scalarValueChars(const Value& value, char* out) {
    static_assert(kScalarTextRoom >= 2 * kPartsTextSize);
    switch (value.kind()) {
        case Kind::Integer:
            return static_cast<int>(
                std::to_chars(out, out + kScalarTextRoom, value.asInteger()).ptr - out);
        case Kind::Single:
            return floatChars(static_cast<float>(value.asDouble()), out);
        case Kind::Double:
            return floatChars(value.asDouble(), out);
        case Kind::Date:
        case Kind::Timestamp: {
            const DateTimeParts& p = value.asDateTime();
            if (p.isInfinite()) return infinityChars(p, out);
            int n = dateChars(p, out);
            if (value.kind() == Kind::Timestamp) {
                out[n++] = ' ';
                n += timeChars(p, out + n);
            }
            return n + eraChars(p, out + n);
        }
        case Kind::Time:
            return timeChars(value.asDateTime(), out);
        case Kind::Boolean: {
            const std::string_view text = value.asBoolean() ? "True" : "False";
            std::memcpy(out, text.data(), text.size());
            return static_cast<int>(text.size());
        }
        default:
            return -1;
    }
}

void appendValueText(QString& out, const Value& value) {
    switch (value.kind()) {
        case Kind::Null:
            return;
        case Kind::Text:
        case Kind::Decimal:
        case Kind::Guid:
            out += value.asString();
            return;
        case Kind::Binary:
            out += binaryText(value.asBinary());
            return;
        default: {
            char buffer[kScalarTextRoom];
            out += QLatin1StringView(buffer, scalarValueChars(value, buffer));
            return;
        }
    }
}

}  // namespace dorvane::sql
