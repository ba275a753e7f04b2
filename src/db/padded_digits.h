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

}  // namespace dorvane::db
