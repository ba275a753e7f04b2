#include "db/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace dorvane::db {
namespace {

template <class Float>
QString floatText(Float v) {
    if (std::isnan(v)) return QStringLiteral("NaN");
    if (std::isinf(v)) return v < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// Room for any int parts: text from a hostile source must not overrun the buffer.
constexpr int kPartsTextSize = 64;

// Write at most kPartsTextSize - 1 characters into `out`; give their number.
int dateChars(const DateTimeParts& p, char* out) {
    const int n = std::snprintf(out, kPartsTextSize, "%04d-%02d-%02d", p.year, p.month, p.day);
    return std::min(n, kPartsTextSize - 1);
}

int timeChars(const DateTimeParts& p, char* out) {
    int n = std::snprintf(out, kPartsTextSize, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    n = std::min(n, kPartsTextSize - 1);
    if (p.nanosecond != 0) {
        // Seven digits only when there is something below the microsecond to show.
        if (p.nanosecond % 1000 == 0)
            n += std::snprintf(out + n, kPartsTextSize - n, ".%06d", p.nanosecond / 1000);
        else
            n += std::snprintf(out + n, kPartsTextSize - n, ".%07d", p.nanosecond / 100);
    }
    return std::min(n, kPartsTextSize - 1);
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
            out += floatText(static_cast<float>(asDouble()));
            return;
        case Kind::Double:
            out += floatText(asDouble());
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
