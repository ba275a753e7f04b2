#include "db/value.h"

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

QString dateText(const DateTimeParts& p) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", p.year, p.month, p.day);
    return QString::fromLatin1(buffer, n);
}

QString timeText(const DateTimeParts& p) {
    char buffer[32];
    int n = std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    if (p.nanosecond != 0) {
        // Seven digits only when there is something below the microsecond to show.
        if (p.nanosecond % 1000 == 0)
            n += std::snprintf(buffer + n, sizeof buffer - n, ".%06d", p.nanosecond / 1000);
        else
            n += std::snprintf(buffer + n, sizeof buffer - n, ".%07d", p.nanosecond / 100);
    }
    return QString::fromLatin1(buffer, n);
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
            return asString();
        case Kind::Integer:
            return QString::number(asInteger());
        case Kind::Single:
            return floatText(static_cast<float>(asDouble()));
        case Kind::Double:
            return floatText(asDouble());
        case Kind::Date:
            return dateText(asDateTime());
        case Kind::Time:
            return timeText(asDateTime());
        case Kind::Timestamp:
            return dateText(asDateTime()) + u' ' + timeText(asDateTime());
        case Kind::Boolean:
            return asBoolean() ? QStringLiteral("True") : QStringLiteral("False");
        case Kind::Binary:
            return binaryText(asBinary());
    }
    return QString();
}

}  // namespace dorvane::db
