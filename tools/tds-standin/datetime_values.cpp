#include "datetime_values.hpp"

#include <cctype>
#include <cstdio>

namespace standin {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Reads 1..maxDigits digits; false if none.
bool readNumber(std::string_view s, size_t& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < s.size() && digits < maxDigits && std::isdigit(static_cast<unsigned char>(s[i]))) {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    return digits > 0;
}

bool parseTime(std::string_view s, DateTimeText& out) {
    size_t i = 0;
    int digits = 0;
    if (!readNumber(s, i, 2, out.hour, digits) || i >= s.size() || s[i] != ':') return false;
    ++i;
    if (!readNumber(s, i, 2, out.minute, digits) || digits != 2) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!readNumber(s, i, 2, out.second, digits) || digits != 2) return false;
        if (i < s.size() && s[i] == '.') {
            ++i;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
                if (out.fractionDigits < 18) out.fraction = out.fraction * 10 + (s[i] - '0');
                ++out.fractionDigits;
                ++i;
            }
        }
    }
    out.hasTime = true;
    return i == s.size() && out.hour < 24 && out.minute < 60 && out.second < 60;
}

bool parseDate(std::string_view s, DateTimeText& out) {
    out.hasDate = true;
    if (s.size() == 8 && s.find_first_not_of("0123456789") == std::string_view::npos) {
        out.year = std::stoi(std::string(s.substr(0, 4)));
        out.month = std::stoi(std::string(s.substr(4, 2)));
        out.day = std::stoi(std::string(s.substr(6, 2)));
        return true;
    }
    size_t i = 0;
    int first = 0, second = 0, third = 0, firstDigits = 0, digits = 0, thirdDigits = 0;
    if (!readNumber(s, i, 4, first, firstDigits) || i >= s.size()) return false;
    char sep = s[i];
    if (sep != '-' && sep != '/' && sep != '.') return false;
    ++i;
    if (!readNumber(s, i, 2, second, digits) || i >= s.size() || s[i] != sep) return false;
    ++i;
    if (!readNumber(s, i, 4, third, thirdDigits) || i != s.size()) return false;
    if (firstDigits == 4) {
        out.year = first, out.month = second, out.day = third;
    } else if (thirdDigits == 4) {  // us_english month/day/year
        out.month = first, out.day = second, out.year = third;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<DateTimeText> parseDateTimeText(std::string_view text) {
    DateTimeText out;
    std::string_view s = trim(text);
    if (s.empty()) return out;
    size_t split = s.find_first_of(" T");
    if (split == std::string_view::npos) {
        bool ok = s.find(':') != std::string_view::npos ? parseTime(s, out) : parseDate(s, out);
        if (!ok) return std::nullopt;
        return out;
    }
    if (!parseDate(s.substr(0, split), out) || !parseTime(trim(s.substr(split + 1)), out)) {
        return std::nullopt;
    }
    return out;
}

bool isValidCalendarDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int limit = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= limit;
}

// Howard Hinnant's days-from-civil, shifted so that 0001-01-01 is day 0.
int64_t daysSinceYearOne(int year, int month, int day) {
    int64_t y = year - (month <= 2 ? 1 : 0);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 719162;
}

void dateFromDays(int64_t days, int& year, int& month, int& day) {
    int64_t z = days - 719162 + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int64_t fractionTicks(const DateTimeText& t) {
    int64_t value = t.fraction;
    int digits = t.fractionDigits > 18 ? 18 : t.fractionDigits;
    for (; digits > 7; --digits) value /= 10;
    for (; digits < 7; ++digits) value *= 10;
    return value;
}

std::optional<OffsetText> splitOffset(std::string_view text) {
    std::string_view s = trim(text);
    if (!s.empty() && (s.back() == 'Z' || s.back() == 'z'))
        return OffsetText{trim(s.substr(0, s.size() - 1)), 0};
    size_t sign = s.find_last_of("+-");
    if (sign == std::string_view::npos) return OffsetText{s, 0};
    std::string_view tail = s.substr(sign + 1);
    size_t i = 0;
    int hours = 0, minutes = 0, digits = 0;
    bool isOffset = readNumber(tail, i, 2, hours, digits) && i < tail.size() && tail[i] == ':' &&
                    readNumber(tail, ++i, 2, minutes, digits) && digits == 2 && i == tail.size();
    // A date's own dashes are no offset: 2024-05-06 ends with -06, not -hh:mm.
    if (!isOffset) return OffsetText{s, 0};
    int total = hours * 60 + minutes;
    if (minutes > 59 || total > kMaxOffsetMinutes) return std::nullopt;
    return OffsetText{trim(s.substr(0, sign)), s[sign] == '-' ? -total : total};
}

std::string formatOffset(int minutes) {
    char buffer[16];
    int magnitude = minutes < 0 ? -minutes : minutes;
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", minutes < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return buffer;
}

std::string formatInstant(const Instant& at, bool withDate, bool withTime, int fractionDigits) {
    char buffer[64];
    std::string out;
    if (withDate) {
        int y = 0, m = 0, d = 0;
        dateFromDays(at.days, y, m, d);
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
        out += buffer;
    }
    if (withTime) {
        int64_t seconds = at.ticks / kTicksPerSecond;
        std::snprintf(buffer, sizeof buffer, "%s%02d:%02d:%02d", withDate ? " " : "",
                      static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
        out += buffer;
        if (fractionDigits > 0) {
            std::snprintf(buffer, sizeof buffer, ".%07lld",
                          static_cast<long long>(at.ticks % kTicksPerSecond));
            out.append(buffer, static_cast<size_t>(1 + fractionDigits));
        }
    }
    return out;
}

}  // namespace standin
