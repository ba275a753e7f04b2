#include "transfer/value_text.h"

#include <QtCore/qstringalgorithms.h>
#include <chrono>
#include <stdexcept>

#include "db/padded_digits.h"
#include "transfer/sql_quoting.h"

namespace dorvane {

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

QString sqlServerTimestampText(const db::DateTimeParts& parts) {
    using namespace std::chrono;
    const sys_days day{year{parts.year} / month{static_cast<unsigned>(parts.month)} /
                       std::chrono::day{static_cast<unsigned>(parts.day)}};
    // Half a millisecond and up rounds up. The sum is counted in milliseconds: in
    // nanoseconds it would overflow for years before 1678 and after 2262.
    const milliseconds fraction =
        floor<milliseconds>(nanoseconds{parts.nanosecond} + microseconds{500});
    const sys_time<milliseconds> rounded =
        day + hours{parts.hour} + minutes{parts.minute} + seconds{parts.second} + fraction;

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
    if (value.kind() == db::Value::Kind::Timestamp)
        return sqlServerTimestampText(value.asDateTime());
    return value.toText();
}

void checkPostgresCanHold(const db::Value& value) {
    if (value.kind() != db::Value::Kind::Text && value.kind() != db::Value::Kind::Guid) return;
    if (containsChar(value.asString(), u'\0'))
        throw std::runtime_error(
            "The value holds a NUL character, which PostgreSQL text cannot store.");
}

void checkExactValueFits(const db::Value& value, ExactSize size) {
    if (value.kind() != db::Value::Kind::Decimal) return;
    const QString& digits = value.asString();
    qsizetype i = 0;
    if (i < digits.size() && (digits[i] == u'-' || digits[i] == u'+')) ++i;
    while (i < digits.size() && digits[i] == u'0') ++i;
    int integerDigits = 0;
    for (; i < digits.size() && digits[i].isDigit(); ++i) ++integerDigits;
    int fractionDigits = 0;
    if (i < digits.size() && digits[i] == u'.') {
        ++i;
        int pendingZeros = 0;
        for (; i < digits.size() && digits[i].isDigit(); ++i) {
            if (digits[i] == u'0') {
                ++pendingZeros;
            } else {
                fractionDigits += pendingZeros + 1;
                pendingZeros = 0;
            }
        }
    }
    // Anything else (NaN, an exponent) is left for the server to judge.
    if (i != digits.size()) return;
    if (integerDigits > size.precision - size.scale || fractionDigits > size.scale)
        throw std::runtime_error(
            QStringLiteral(
                "The value %1 has more digits than a column of precision %2 and scale %3 holds.")
                .arg(digits)
                .arg(size.precision)
                .arg(size.scale)
                .toStdString());
}

}  // namespace dorvane
