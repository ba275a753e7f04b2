#include "value_encoding.hpp"

#include "datetime_values.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace standin {
namespace {

constexpr uint64_t kPlpNull = ~0ULL;
constexpr uint16_t kShortNull = 0xFFFF;

void writePlp(ByteWriter& out, const Bytes& data) {
    out.u64(data.size());
    if (!data.empty()) {
        out.u32(static_cast<uint32_t>(data.size()));
        out.bytes(data);
    }
    out.u32(0);
}

void writeTextPointerValue(ByteWriter& out, const Bytes& data) {
    out.u8(16);
    for (int i = 0; i < 16; ++i) out.u8(0xAA);  // text pointer: opaque to clients
    for (int i = 0; i < 8; ++i) out.u8(0);      // timestamp
    out.u32(static_cast<uint32_t>(data.size()));
    out.bytes(data);
}

Bytes decodeBytea(std::string_view text) {
    if (text.size() < 2 || text[0] != '\\' || text[1] != 'x') {
        throw std::runtime_error("backend returned bytea in an unexpected form");
    }
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    Bytes out;
    out.reserve((text.size() - 2) / 2);
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        out.push_back(static_cast<uint8_t>(nibble(text[i]) << 4 | nibble(text[i + 1])));
    }
    return out;
}

// Scaled integer of a numeric text such as "-12.3400".
__int128 scaledInteger(std::string_view text, bool& negative) {
    negative = !text.empty() && text[0] == '-';
    __int128 value = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') value = value * 10 + (c - '0');
    }
    return value;
}

Instant parseStoredInstant(const char* text) {
    auto parsed = parseDateTimeText(text);
    if (!parsed) throw std::runtime_error(std::string("backend date/time unreadable: ") + text);
    return Instant{daysSinceYearOne(parsed->year, parsed->month, parsed->day),
                   ((parsed->hour * 60 + parsed->minute) * 60 + parsed->second) * kTicksPerSecond +
                       fractionTicks(*parsed)};
}

int timeBytes(int scale) {
    return scale <= 2 ? 3 : scale <= 4 ? 4 : 5;
}

void writeTime(ByteWriter& out, int64_t ticks, int scale) {
    int64_t units = ticks;
    for (int i = scale; i < 7; ++i) units /= 10;
    out.le(static_cast<uint64_t>(units), timeBytes(scale));
}

Bytes truncate(Bytes data, size_t textSize) {
    if (data.size() > textSize) data.resize(textSize);
    return data;
}

Bytes characterBytes(const DeclaredType& t, const char* text) {
    // ASCII is the same in every encoding here: long texts skip the conversions.
    const std::string_view utf8(text);
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
        if (!isUnicodeType(t.type) && t.type != SqlType::Xml) {
            return Bytes(utf8.begin(), utf8.end());
        }
        Bytes out(utf8.size() * 2, 0);
        for (size_t i = 0; i < utf8.size(); ++i) out[2 * i] = static_cast<uint8_t>(utf8[i]);
        return out;
    }
    std::u16string units = utf8ToUtf16(text);
    if (isUnicodeType(t.type) || t.type == SqlType::Xml) return utf16leBytes(units);
    std::string narrow = utf16ToCp1252(units);
    return Bytes(narrow.begin(), narrow.end());
}

void writeGuid(ByteWriter& out, const char* text) {
    Bytes raw;
    for (const char* p = text; *p != '\0' && raw.size() < 16; ++p) {
        if (*p == '-') continue;
        auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
        raw.push_back(static_cast<uint8_t>(nibble(p[0]) << 4 | nibble(p[1])));
        ++p;
    }
    // The first three groups travel little-endian.
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    out.u8(16);
    for (int i : kOrder) out.u8(raw.at(static_cast<size_t>(i)));
}

}  // namespace

void writeColumnValue(ByteWriter& out, const DeclaredType& t, const char* text, size_t textSize) {
    bool isNull = text == nullptr;
    switch (t.type) {
        case SqlType::TinyInt:
        case SqlType::SmallInt:
        case SqlType::Int:
        case SqlType::BigInt: {
            int width = t.type == SqlType::TinyInt    ? 1
                        : t.type == SqlType::SmallInt ? 2
                        : t.type == SqlType::Int      ? 4
                                                      : 8;
            if (isNull) return out.u8(0);
            out.u8(static_cast<uint8_t>(width));
            out.le(static_cast<uint64_t>(std::strtoll(text, nullptr, 10)), width);
            return;
        }
        case SqlType::Bit:
            if (isNull) return out.u8(0);
            out.u8(1);
            out.u8(text[0] == 't' ? 1 : 0);
            return;
        case SqlType::Decimal:
        case SqlType::Numeric: {
            if (isNull) return out.u8(0);
            bool negative = false;
            __int128 value = scaledInteger(text, negative);
            int width = t.precision <= 9 ? 4 : t.precision <= 19 ? 8 : t.precision <= 28 ? 12 : 16;
            out.u8(static_cast<uint8_t>(width + 1));
            out.u8(negative ? 0 : 1);
            for (int i = 0; i < width; ++i) out.u8(static_cast<uint8_t>(value >> (8 * i)));
            return;
        }
        case SqlType::Money:
        case SqlType::SmallMoney: {
            if (isNull) return out.u8(0);
            bool negative = false;
            // Negated while still wide: the smallest money value has no positive int64.
            __int128 scaled = scaledInteger(text, negative);
            if (negative) scaled = -scaled;
            const auto value = static_cast<int64_t>(scaled);
            if (t.type == SqlType::SmallMoney) {
                out.u8(4);
                out.u32(static_cast<uint32_t>(value));
            } else {
                out.u8(8);
                out.u32(static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
                out.u32(static_cast<uint32_t>(value));
            }
            return;
        }
        case SqlType::Float:
        case SqlType::Real: {
            if (isNull) return out.u8(0);
            double value = std::strtod(text, nullptr);
            if (t.type == SqlType::Real) {
                float f = static_cast<float>(value);
                uint32_t bits = 0;
                std::memcpy(&bits, &f, sizeof bits);
                out.u8(4);
                out.u32(bits);
            } else {
                uint64_t bits = 0;
                std::memcpy(&bits, &value, sizeof bits);
                out.u8(8);
                out.u64(bits);
            }
            return;
        }
        case SqlType::DateTime:
        case SqlType::SmallDateTime: {
            if (isNull) return out.u8(0);
            Instant at = parseStoredInstant(text);
            int64_t days = at.days - daysSinceYearOne(1900, 1, 1);
            if (t.type == SqlType::SmallDateTime) {
                out.u8(4);
                out.u16(static_cast<uint16_t>(days));
                out.u16(static_cast<uint16_t>(at.ticks / (60 * kTicksPerSecond)));
            } else {
                int64_t ms = at.ticks / 10'000;
                out.u8(8);
                out.u32(static_cast<uint32_t>(days));
                out.u32(static_cast<uint32_t>((ms * 3 + 5) / 10));
            }
            return;
        }
        case SqlType::Date:
            if (isNull) return out.u8(0);
            out.u8(3);
            out.le(static_cast<uint64_t>(parseStoredInstant(text).days), 3);
            return;
        case SqlType::Time:
            if (isNull) return out.u8(0);
            out.u8(static_cast<uint8_t>(timeBytes(t.scale)));
            writeTime(out, parseStoredInstant(text).ticks, t.scale);
            return;
        case SqlType::DateTime2: {
            if (isNull) return out.u8(0);
            Instant at = parseStoredInstant(text);
            out.u8(static_cast<uint8_t>(timeBytes(t.scale) + 3));
            writeTime(out, at.ticks, t.scale);
            out.le(static_cast<uint64_t>(at.days), 3);
            return;
        }
        case SqlType::DateTimeOffset: {
            if (isNull) return out.u8(0);
            // Stored as local time and offset; sent as UTC and offset.
            std::string_view stored = text;
            size_t blank = stored.rfind(' ');
            auto split =
                blank == std::string_view::npos ? std::nullopt : splitOffset(stored.substr(blank));
            if (!split)
                throw std::runtime_error(std::string("backend datetimeoffset unreadable: ") + text);
            Instant at = parseStoredInstant(std::string(stored.substr(0, blank)).c_str());
            int64_t utc =
                at.days * kTicksPerDay + at.ticks - int64_t{split->minutes} * 60 * kTicksPerSecond;
            out.u8(static_cast<uint8_t>(timeBytes(t.scale) + 3 + 2));
            writeTime(out, utc % kTicksPerDay, t.scale);
            out.le(static_cast<uint64_t>(utc / kTicksPerDay), 3);
            out.u16(static_cast<uint16_t>(static_cast<int16_t>(split->minutes)));
            return;
        }
        case SqlType::UniqueIdentifier:
            if (isNull) return out.u8(0);
            return writeGuid(out, text);
        case SqlType::Text:
        case SqlType::NText:
        case SqlType::Image:
            if (isNull) return out.u8(0);
            return writeTextPointerValue(
                out,
                truncate(t.type == SqlType::Image ? decodeBytea(text) : characterBytes(t, text),
                         textSize));
        case SqlType::Xml:
            if (isNull) return out.u64(kPlpNull);
            return writePlp(out, characterBytes(t, text));
        case SqlType::Binary:
        case SqlType::VarBinary:
            if (t.isMax()) {
                if (isNull) return out.u64(kPlpNull);
                return writePlp(out, truncate(decodeBytea(text), textSize));
            }
            if (isNull) return out.u16(kShortNull);
            {
                Bytes data = decodeBytea(text);
                out.u16(static_cast<uint16_t>(data.size()));
                out.bytes(data);
            }
            return;
        default:  // char, varchar, nchar, nvarchar
            if (t.isMax()) {
                if (isNull) return out.u64(kPlpNull);
                return writePlp(out, truncate(characterBytes(t, text), textSize));
            }
            if (isNull) return out.u16(kShortNull);
            {
                Bytes data = characterBytes(t, text);
                out.u16(static_cast<uint16_t>(data.size()));
                out.bytes(data);
            }
            return;
    }
}

}  // namespace standin
