#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// A date and time of day as written in a literal, before any range checks or rounding.
struct DateTimeText {
    bool hasDate = false;
    bool hasTime = false;
    int year = 1900, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int64_t fraction = 0;  // the fractional second digits as an integer
    int fractionDigits = 0;
};

// Accepts yyyy-mm-dd, yyyy/mm/dd, yyyymmdd, mm/dd/yyyy, an optional time hh:mm[:ss[.f...]]
// after a blank or 'T', or a time alone. Blank text is the zero date, as SQL Server takes it.
std::optional<DateTimeText> parseDateTimeText(std::string_view text);

bool isValidCalendarDate(int year, int month, int day);

// Days since 0001-01-01 in the proleptic Gregorian calendar, and back.
int64_t daysSinceYearOne(int year, int month, int day);
void dateFromDays(int64_t days, int& year, int& month, int& day);

// A point in time with 100 ns resolution, the finest SQL Server keeps.
struct Instant {
    int64_t days = 0;   // since 0001-01-01
    int64_t ticks = 0;  // 100 ns units since midnight
};

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerDay = 86'400 * kTicksPerSecond;

// The fractional part of the text scaled to 100 ns units (digits beyond 7 are dropped).
int64_t fractionTicks(const DateTimeText& t);

// A datetimeoffset text: the local date and time, and how far east of UTC they are.
struct OffsetText {
    std::string_view local;
    int minutes = 0;
};
constexpr int kMaxOffsetMinutes = 14 * 60;

// Takes a trailing +hh:mm, -hh:mm or Z off the text; without one the offset is +00:00.
// Nothing when the offset lies beyond 14 hours either way.
std::optional<OffsetText> splitOffset(std::string_view text);
// +hh:mm or -hh:mm.
std::string formatOffset(int minutes);

// yyyy-mm-dd hh:mm:ss.fffffff, the form the stand-in stores; fractionDigits limits the tail.
std::string formatInstant(const Instant& at, bool withDate, bool withTime, int fractionDigits);

}  // namespace standin
