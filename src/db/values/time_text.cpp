#include "db/values/time_text.h"

#include <QString>

#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int twoDigits(std::string_view text, std::size_t at, bool& ok) {
    if (at + 2 > text.size() || !isDigit(text[at]) || !isDigit(text[at + 1])) {
        ok = false;
        return 0;
    }
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

DateTimeParts parseTimeText(std::string_view text) {
    bool ok = text.size() >= 8 && text[2] == ':' && text[5] == ':';
    DateTimeParts p;
    p.hour = twoDigits(text, 0, ok);
    p.minute = twoDigits(text, 3, ok);
    p.second = twoDigits(text, 6, ok);
    std::size_t at = 8;
    if (ok && at < text.size() && text[at] == '.') {
        int digits = 0;
        for (++at; at < text.size() && isDigit(text[at]); ++at, ++digits) {
            if (digits < 9) p.nanosecond = p.nanosecond * 10 + (text[at] - '0');
        }
        for (int d = digits; d < 9; ++d) p.nanosecond *= 10;
        ok = digits > 0;
    }
    if (!ok || at != text.size())
        throw DbError(QStringLiteral("Unexpected time text from the driver: ") +
                      QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return p;
}

std::string fourDigitYear(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    constexpr std::size_t kYearDigits = 4;
    if (digits == 0 || digits >= kYearDigits || digits == text.size() || text[digits] != '-')
        return std::string(text);
    return std::string(kYearDigits - digits, '0') + std::string(text);
}

}  // namespace dorvane::db
