#include "sql/value_text.h"

#include <QtCore/qstringalgorithms.h>
#include <chrono>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "db/values/padded_digits.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"

namespace dorvane::sql {

void appendWithQuotesDoubled(QString& sql, QStringView text) {
    appendDoubling(sql, text, u'\'');
}

void appendWithQuotesAndBackslashesDoubled(QString& sql, QStringView text) {
    if (!containsChar(text, u'\\')) {
        appendWithQuotesDoubled(sql, text);
        return;
    }
    for (QChar c : text) {
        sql += c;
        if (c == u'\'' || c == u'\\') sql += c;
    }
}

void appendPostgresLiteral(QString& sql, QStringView text) {
    if (containsChar(text, u'\\')) {
        sql += u"E'";
        appendWithQuotesAndBackslashesDoubled(sql, text);
    } else {
        sql += u'\'';
        appendWithQuotesDoubled(sql, text);
    }
    sql += u'\'';
}

bool readsAsSqlNumber(QStringView text) {
    const auto digitsFrom = [&](qsizetype& i) {
        const qsizetype start = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') ++i;
        return i - start;
    };
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    qsizetype mantissa = digitsFrom(i);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        mantissa += digitsFrom(i);
    }
    if (mantissa == 0) return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
        if (digitsFrom(i) == 0) return false;
    }
    return i == text.size();
}

bool isAscii(QStringView text) {
    return QtPrivate::isAscii(text);  // Qt's own scan takes several characters at a time
}

namespace {

using Millis = std::chrono::sys_time<std::chrono::milliseconds>;

// The time the text sent to SQL Server names: rounded to the millisecond.
Millis roundedToMillisecond(const db::DateTimeParts& parts) {
    using namespace std::chrono;
    const sys_days day{year{parts.year} / month{static_cast<unsigned>(parts.month)} /
                       std::chrono::day{static_cast<unsigned>(parts.day)}};
    // Half a millisecond and up rounds up. The sum is counted in milliseconds: in
    // nanoseconds it would overflow for years before 1678 and after 2262.
    const milliseconds fraction =
        floor<milliseconds>(nanoseconds{parts.nanosecond} + microseconds{500});
    return day + hours{parts.hour} + minutes{parts.minute} + seconds{parts.second} + fraction;
}

// The millisecond the time falls in: for types that keep the fraction as sent.
Millis truncatedToMillisecond(const db::DateTimeParts& parts) {
    using namespace std::chrono;
    const sys_days day{year{parts.year} / month{static_cast<unsigned>(parts.month)} /
                       std::chrono::day{static_cast<unsigned>(parts.day)}};
    return day + hours{parts.hour} + minutes{parts.minute} + seconds{parts.second} +
           floor<milliseconds>(nanoseconds{parts.nanosecond});
}

}  // namespace

QString sqlServerTimestampText(const db::DateTimeParts& parts) {
    using namespace std::chrono;
    const Millis rounded = roundedToMillisecond(parts);

    const sys_days roundedDay = floor<days>(rounded);
    const year_month_day ymd{roundedDay};
    const hh_mm_ss<milliseconds> time{rounded - roundedDay};

    char buffer[64];  // 35 characters at most: a year needs no more than six
    char* at = db::writeDate(buffer, static_cast<int>(ymd.year()),
                             static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    *at++ = 'T';
    at = db::writeClock(at, time.hours().count(), time.minutes().count(), time.seconds().count());
    if (const auto ms = time.subseconds().count(); ms != 0) {
        *at++ = '.';
        at = db::writePadded(at, ms, 3);
    }
    return QString::fromLatin1(buffer, at - buffer);
}

QString sqlServerValueText(const db::Value& value) {
    if (value.kind() == db::Value::Kind::Timestamp && !value.asDateTime().isInfinite())
        return sqlServerTimestampText(value.asDateTime());
    return sql::valueText(value);
}

QString sqlServerValueText(const db::Value& value, SqlServerTextForm form) {
    // 'YYYY-MM-DD hh:mm:ss.ffffff', which DATETIME2 and DATETIMEOFFSET read in every language.
    if (form == SqlServerTextForm::FineTime && value.kind() == db::Value::Kind::Timestamp)
        return sql::valueText(value);
    // 17 digits name a double exactly, and every float is one.
    if (form == SqlServerTextForm::ExactFloat && value.kind() == db::Value::Kind::Single &&
        std::isfinite(value.asDouble()))
        return QString::number(value.asDouble(), 'g', 17);
    return sqlServerValueText(value);
}

namespace {

struct SqlServerDateRange {
    const char16_t* typeName;
    Millis first;
    Millis last;
    const char* text;
    // The server rounds what it is sent to its own steps first.
    Millis (*rounded)(Millis);
    // Keeps every digit sent: judged on the millisecond the time falls in, not the nearest.
    bool keepsFraction = false;
};

constexpr Millis at(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    using namespace std::chrono;
    return sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s} +
           milliseconds{ms};
}

Millis asSent(Millis t) {
    return t;
}

// datetime keeps 1/300 s, in steps written .xx0, .xx3 and .xx7: the last digit 0 and 1
// go to 0, 2 to 4 to 3, 5 to 8 to 7, and 9 up to the next 0.
Millis toDatetimeStep(Millis t) {
    constexpr int kStepOf[10] = {0, 0, 3, 3, 3, 7, 7, 7, 7, 10};
    const auto count = t.time_since_epoch().count();
    const auto digit = static_cast<int>((count % 10 + 10) % 10);
    return t + std::chrono::milliseconds{kStepOf[digit] - digit};
}

// smalldatetime keeps minutes: 29.999 seconds and more go up, less goes down.
Millis toMinute(Millis t) {
    using namespace std::chrono;
    return floor<minutes>(t + milliseconds{30001});
}

const SqlServerDateRange kRanges[] = {
    {u"datetime", at(1753, 1, 1), at(9999, 12, 31, 23, 59, 59, 997),
     "1753-01-01 00:00:00 to 9999-12-31 23:59:59.997", toDatetimeStep},
    {u"smalldatetime", at(1900, 1, 1), at(2079, 6, 6, 23, 59),
     "1900-01-01 00:00 to 2079-06-06 23:59", toMinute},
    {u"date", at(1, 1, 1), at(9999, 12, 31, 23, 59, 59, 999), "0001-01-01 to 9999-12-31", asSent,
     true},
    {u"datetime2", at(1, 1, 1), at(9999, 12, 31, 23, 59, 59, 999), "0001-01-01 to 9999-12-31",
     asSent, true},
    {u"datetimeoffset", at(1, 1, 1), at(9999, 12, 31, 23, 59, 59, 999), "0001-01-01 to 9999-12-31",
     asSent, true},
};

// Years std::chrono counts; the others are far outside every range anyway.
bool chronoCanCount(const db::DateTimeParts& p) {
    return p.year > -30000 && p.year < 30000;
}

// The range of the date type `typeName`; null for a type that is no date type.
const SqlServerDateRange* rangeOf(QStringView typeName) {
    for (const SqlServerDateRange& range : kRanges)
        if (typeName == QStringView(range.typeName)) return &range;
    return nullptr;
}

// The time a column of `range`'s type holds of `parts` sent as text; nothing when the
// column cannot hold it.
std::optional<Millis> heldIn(const SqlServerDateRange& range, const db::DateTimeParts& parts) {
    if (parts.isInfinite() || !chronoCanCount(parts)) return std::nullopt;
    const Millis held = range.keepsFraction ? truncatedToMillisecond(parts)
                                            : range.rounded(roundedToMillisecond(parts));
    if (held < range.first || held > range.last) return std::nullopt;
    return held;
}

// 1/300 s from midnight of a time of day in DATETIME's steps (.xx0, .xx3, .xx7).
std::int32_t datetimeTicks(std::chrono::milliseconds sinceMidnight) {
    constexpr int kTicksOfStep[10] = {0, 0, 0, 1, 0, 0, 0, 2, 0, 0};
    const auto ms = static_cast<std::int32_t>(sinceMidnight.count());
    return ms / 10 * 3 + kTicksOfStep[ms % 10];
}

[[noreturn]] void refuseDate(const db::Value& value, QStringView typeName, const char* range) {
    throw std::runtime_error(
        QStringLiteral("The value %1 cannot be held by a SQL Server %2 column, which holds %3.")
            .arg(sql::valueText(value), typeName.toString(), QLatin1StringView(range))
            .toStdString());
}

}  // namespace

void checkSqlServerCanHold(const db::Value& value, QStringView targetTypeName) {
    if (value.kind() == db::Value::Kind::Time && targetTypeName == u"time" &&
        value.asDateTime().hour >= 24)
        refuseDate(value, targetTypeName, "00:00:00 to 23:59:59.9999999");
    if ((value.kind() == db::Value::Kind::Single || value.kind() == db::Value::Kind::Double) &&
        targetTypeName == u"real") {
        const double v = std::fabs(value.asDouble());
        if (v > 0 && v < std::numeric_limits<float>::min())
            throw std::runtime_error(
                QStringLiteral("The value %1 cannot be held by a SQL Server real column, which "
                               "holds no number nearer 0 than 1.18E-38.")
                    .arg(sql::valueText(value))
                    .toStdString());
    }
    if (value.kind() != db::Value::Kind::Date && value.kind() != db::Value::Kind::Timestamp) return;
    const db::DateTimeParts& parts = value.asDateTime();
    if (parts.isInfinite() && targetTypeName == u"time")
        refuseDate(value, targetTypeName, "times of day only");
    const SqlServerDateRange* range = rangeOf(targetTypeName);
    if (range && !heldIn(*range, parts)) refuseDate(value, targetTypeName, range->text);
}

void checkPostgresCanHold(const db::Value& value) {
    if (value.kind() != db::Value::Kind::Text && value.kind() != db::Value::Kind::Guid) return;
    if (containsChar(value.asString(), u'\0')) refuseNulCharacter();
}

void refuseNulCharacter() {
    throw std::runtime_error(
        "The value holds a NUL character, which PostgreSQL text cannot store.");
}

std::optional<PlainDecimal> plainDecimal(QStringView text) {
    PlainDecimal d;
    qsizetype at = 0;
    d.negative = !text.isEmpty() && text[0] == u'-';
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) ++at;
    const qsizetype point = text.indexOf(u'.', at);
    d.whole = text.sliced(at, (point < 0 ? text.size() : point) - at);
    d.fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (d.whole.isEmpty() && d.fraction.isEmpty()) return std::nullopt;
    for (const QStringView part : {d.whole, d.fraction})
        for (QChar c : part)
            if (!c.isDigit()) return std::nullopt;
    while (!d.whole.isEmpty() && d.whole.front() == u'0') d.whole = d.whole.sliced(1);
    while (!d.fraction.isEmpty() && d.fraction.back() == u'0') d.fraction.chop(1);
    return d;
}

void checkExactValueFits(const db::Value& value, ExactSize size) {
    if (value.kind() != db::Value::Kind::Decimal) return;
    const QString& digits = value.asString();
    const std::optional<PlainDecimal> d = plainDecimal(digits);
    // Anything else (NaN, an exponent) is left for the server to judge.
    if (!d) return;
    if (d->whole.size() > size.precision - size.scale || d->fraction.size() > size.scale)
        throw std::runtime_error(
            QStringLiteral(
                "The value %1 has more digits than a column of precision %2 and scale %3 holds.")
                .arg(digits)
                .arg(size.precision)
                .arg(size.scale)
                .toStdString());
}

std::optional<SqlServerDatetime> sqlServerDatetime(const db::DateTimeParts& parts) {
    using namespace std::chrono;
    const std::optional<Millis> held = heldIn(*rangeOf(u"datetime"), parts);
    if (!held) return std::nullopt;
    const sys_days day = floor<days>(*held);
    constexpr sys_days kDayZero{year{1900} / January / 1};
    return SqlServerDatetime{static_cast<std::int32_t>((day - kDayZero).count()),
                             datetimeTicks(*held - day)};
}

}  // namespace dorvane::sql
