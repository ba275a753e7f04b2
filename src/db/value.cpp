#include "db/value.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "db/padded_digits.h"

namespace dorvane::db {
namespace {

// Room for any float and any int parts: a date needs at most 35 characters, a time 47,
// so text from a hostile source cannot overrun the buffer.
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
    return static_cast<int>(writeDate(out, p.year, p.month, p.day) - out);
}

int timeChars(const DateTimeParts& p, char* out) {
    char* at = writeClock(out, p.hour, p.minute, p.second);
    if (p.nanosecond != 0) {
        *at++ = '.';
        // Seven digits only when there is something below the microsecond to show.
        if (p.nanosecond % 1000 == 0)
            at = writePadded(at, p.nanosecond / 1000, 6);
        else
            at = writePadded(at, p.nanosecond / 100, 7);
    }
    return static_cast<int>(at - out);
}

QString binaryText(const QByteArray& bytes) {
    return QStringLiteral("\\x") + QString::fromLatin1(bytes.toHex());
}

}  // namespace

QString Value::toText() const {
    switch (kind_) {
        case Kind::Null:
            return QString();
        case Kind::Text:
        case Kind::Decimal:
        case Kind::Guid:
            return asString();  // shares the value's text
        default: {
            QString text;
            appendText(text);
            return text;
        }
    }
}

void Value::appendText(QString& out) const {
    char buffer[2 * kPartsTextSize];
    switch (kind_) {
        case Kind::Null:
            return;
        case Kind::Text:
        case Kind::Decimal:
        case Kind::Guid:
            out += asString();
            return;
        case Kind::Integer: {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, asInteger()).ptr;
            out += QLatin1StringView(buffer, end - buffer);
            return;
        }
        case Kind::Single:
            out += QLatin1StringView(buffer, floatChars(static_cast<float>(asDouble()), buffer));
            return;
        case Kind::Double:
            out += QLatin1StringView(buffer, floatChars(asDouble(), buffer));
            return;
        case Kind::Date:
            out += QLatin1StringView(buffer, dateChars(asDateTime(), buffer));
            return;
        case Kind::Time:
            out += QLatin1StringView(buffer, timeChars(asDateTime(), buffer));
            return;
        case Kind::Timestamp: {
            int n = dateChars(asDateTime(), buffer);
            buffer[n++] = ' ';
            n += timeChars(asDateTime(), buffer + n);
            out += QLatin1StringView(buffer, n);
            return;
        }
        case Kind::Boolean:
            out += asBoolean() ? u"True" : u"False";
            return;
        case Kind::Binary:
            out += binaryText(asBinary());
            return;
    }
}

}  // namespace dorvane::db
