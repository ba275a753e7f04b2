#pragma once
// Whole numbers written as printf's "%0<width>d" writes them, without its cost: dates
// and times are formatted for every value of every row.

#include <charconv>
#include <cstdint>
#include <cstring>

namespace dorvane::db {

// A minus sign when negative, then the digits, zero-padded so that sign and digits fill
// at least `width` characters. `out` needs room for max(width, 20) characters.
inline char* writePadded(char* out, std::int64_t value, int width) {
    char digits[24];
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const int count = static_cast<int>(end - digits);
    if (value < 0) {
        *out++ = '-';
        --width;
    }
    for (int i = count; i < width; ++i) *out++ = '0';
    std::memcpy(out, digits, static_cast<std::size_t>(count));
    return out + count;
}

// YYYY-MM-DD, each part as wide as it needs beyond that.
inline char* writeDate(char* out, std::int64_t year, std::int64_t month, std::int64_t day) {
    out = writePadded(out, year, 4);
    *out++ = '-';
    out = writePadded(out, month, 2);
    *out++ = '-';
    return writePadded(out, day, 2);
}

// hh:mm:ss, each part as wide as it needs beyond that.
inline char* writeClock(char* out, std::int64_t hour, std::int64_t minute, std::int64_t second) {
    out = writePadded(out, hour, 2);
    *out++ = ':';
    out = writePadded(out, minute, 2);
    *out++ = ':';
    return writePadded(out, second, 2);
}

}  // namespace dorvane::db
