#include "bulk_values.hpp"

#include "datetime_values.hpp"
#include "literal_conversion.hpp"
#include "server_error.hpp"
#include "text_encoding.hpp"

#include <cstdio>
#include <cstring>

namespace standin {
namespace {

constexpr uint64_t kPlpNull = ~0ULL;
constexpr uint16_t kShortNull = 0xFFFF;
constexpr size_t kTextPointerBytes = 16 + 8;  // text pointer and timestamp

bool isTextPointerType(uint8_t t) {
    return t == tds::kText || t == tds::kNText || t == tds::kImage;
}

bool hasCollation(uint8_t t) {
    return t == tds::kBigChar || t == tds::kBigVarChar || t == tds::kNChar || t == tds::kNVarChar ||
           t == tds::kText || t == tds::kNText;
}

SqlError invalidLength(size_t ordinal) {
    return SqlError(4815, 16, 1,
                    "Received an invalid column length from the bcp client for colid " +
                        std::to_string(ordinal) + ".");
}

std::string readBytes(BulkMessageReader& in, size_t n) {
    const uint8_t* p = in.bytes(n);
    return std::string(reinterpret_cast<const char*>(p), n);
}

// A PLP value: its length (or "unknown"), then chunks up to one of length zero.
std::optional<std::string> readPlp(BulkMessageReader& in) {
    uint64_t total = in.u64();
    if (total == kPlpNull) return std::nullopt;
    std::string data;
    for (uint32_t chunk = in.u32(); chunk != 0; chunk = in.u32()) data += readBytes(in, chunk);
    return data;
}

// The bytes of a character or binary value, nothing for NULL.
std::optional<std::string> readLongValue(BulkMessageReader& in, const BulkColumn& wire) {
    if (wire.isPlp()) return readPlp(in);
    if (isTextPointerType(wire.tdsType)) {
        if (in.u8() == 0) return std::nullopt;
        in.skip(kTextPointerBytes);
        return readBytes(in, in.u32());
    }
    uint16_t length = in.u16();
    if (length == kShortNull) return std::nullopt;
    return readBytes(in, length);
}

// Little-endian integer of `width` bytes, sign-extended when asked.
int64_t littleEndian(const uint8_t* p, size_t width, bool isSigned) {
    uint64_t v = 0;
    for (size_t i = 0; i < width; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    if (isSigned && width < 8 && (p[width - 1] & 0x80)) v |= ~0ULL << (8 * width);
    return static_cast<int64_t>(v);
}

std::string characterText(const std::string& raw, const DeclaredType& column, bool unicodeWire,
                          size_t ordinal) {
    std::u16string units;
    if (unicodeWire) {
        if (raw.size() % 2 != 0) throw invalidLength(ordinal);
        units = utf16FromLeBytes(Bytes(raw.begin(), raw.end()));
    } else {
        units = cp1252ToUtf16(raw);
    }
    // A Unicode value bound for a varchar column keeps only what code page 1252 has.
    if (unicodeWire && !isUnicodeType(column.type)) units = cp1252ToUtf16(utf16ToCp1252(units));
    bool fixed = column.type == SqlType::Char || column.type == SqlType::NChar;
    if (fixed && units.size() < static_cast<size_t>(column.length)) {
        units.resize(static_cast<size_t>(column.length), u' ');
    }
    return utf16ToUtf8(units);
}

std::string binaryText(std::string raw, const DeclaredType& column) {
    if (column.type == SqlType::Binary && raw.size() < static_cast<size_t>(column.length)) {
        raw.resize(static_cast<size_t>(column.length), '\0');
    }
    return hexText(raw);
}

// Rounds a time of day in 100 ns units to the column's fractional digits, as SQL Server
// converts a finer value; a carry past midnight moves to the next day.
void roundToScale(Instant& at, int scale) {
    int64_t unit = 1;
    for (int i = scale; i < 7; ++i) unit *= 10;
    at.ticks = (at.ticks + unit / 2) / unit * unit;
    if (at.ticks >= kTicksPerDay) {
        at.ticks -= kTicksPerDay;
        ++at.days;
    }
}

std::string dateTimeText(BulkMessageReader& in, const BulkColumn& wire, const DeclaredType& column,
                         size_t length, size_t ordinal) {
    const bool hasTime = wire.tdsType != tds::kDate;
    const bool hasDate = wire.tdsType != tds::kTime;
    const bool hasOffset = wire.tdsType == tds::kDateTimeOffset;
    size_t timeBytes = length - (hasDate ? 3 : 0) - (hasOffset ? 2 : 0);
    if (length < (hasDate ? 3u : 0u) + (hasOffset ? 2u : 0u) || (hasTime && timeBytes < 3) ||
        timeBytes > 5) {
        throw invalidLength(ordinal);
    }
    const uint8_t* p = in.bytes(length);
    Instant at;
    if (hasTime) {
        at.ticks = littleEndian(p, timeBytes, false);
        for (int i = wire.scale; i < 7; ++i) at.ticks *= 10;
        if (at.ticks >= kTicksPerDay) throw invalidLength(ordinal);
    }
    if (hasDate) at.days = littleEndian(p + timeBytes, 3, false);
    int offsetMinutes = hasOffset ? static_cast<int>(littleEndian(p + timeBytes + 3, 2, true)) : 0;
    if (hasOffset) {
        // Sent as UTC; kept as the local time at its offset.
        int64_t local = at.days * kTicksPerDay + at.ticks + offsetMinutes * 60 * kTicksPerSecond;
        at.days = local / kTicksPerDay;
        at.ticks = local % kTicksPerDay;
    }
    if (hasTime) roundToScale(at, column.scale);
    if (!hasTime) return formatInstant(at, true, false, 0);
    if (!hasDate) return formatInstant(at, false, true, 7);
    std::string text = formatInstant(at, true, true, 7);
    return hasOffset ? text + " " + formatOffset(offsetMinutes) : text;
}

// datetime and smalldatetime: days since 1900 and 1/300 s or minutes since midnight.
std::string classicDateTimeText(const uint8_t* p, size_t length) {
    const int64_t epoch = daysSinceYearOne(1900, 1, 1);
    Instant at;
    if (length == 4) {
        at.days = epoch + littleEndian(p, 2, false);
        at.ticks = littleEndian(p + 2, 2, false) * 60 * kTicksPerSecond;
        return formatInstant(at, true, true, 0);
    }
    at.days = epoch + littleEndian(p, 4, true);
    int64_t threeHundredths = littleEndian(p + 4, 4, false);
    at.ticks =
        threeHundredths / 300 * kTicksPerSecond + (threeHundredths % 300 * 10 + 1) / 3 * 10'000;
    return formatInstant(at, true, true, 3);
}

std::string guidText(const uint8_t* p) {
    // The first three groups travel little-endian.
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::string out;
    char hex[3];
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        std::snprintf(hex, sizeof hex, "%02x", p[kOrder[i]]);
        out += hex;
    }
    return out;
}

std::string numberText(const uint8_t* p, size_t length, const BulkColumn& wire) {
    switch (wire.tdsType) {
        case tds::kIntN:
            // tinyint alone is unsigned.
            return std::to_string(littleEndian(p, length, length > 1));
        case tds::kBitN:
            return p[0] ? "true" : "false";
        case tds::kFloatN: {
            char buffer[64];
            if (length == 4) {
                float f = 0;
                std::memcpy(&f, p, sizeof f);
                std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(f));
            } else {
                double d = 0;
                std::memcpy(&d, p, sizeof d);
                std::snprintf(buffer, sizeof buffer, "%.17g", d);
            }
            return buffer;
        }
        case tds::kMoneyN: {
            int64_t units =
                length == 4
                    ? littleEndian(p, 4, true)
                    : static_cast<int64_t>(static_cast<uint64_t>(littleEndian(p, 4, false)) << 32 |
                                           static_cast<uint64_t>(littleEndian(p + 4, 4, false)));
            return formatScaled(units, 4);
        }
        default: {  // decimal, numeric: a sign byte, then the magnitude
            unsigned __int128 magnitude = 0;
            for (size_t i = length - 1; i >= 1; --i) magnitude = magnitude << 8 | p[i];
            auto value = static_cast<__int128>(magnitude);
            return formatScaled(p[0] == 0 ? -value : value, wire.scale);
        }
    }
}

size_t fixedLengthLimit(uint8_t tdsType) {
    switch (tdsType) {
        case tds::kDecimalN:
        case tds::kNumericN:
            return 17;
        case tds::kGuid:
            return 16;
        default:
            return 8;
    }
}

}  // namespace

bool BulkColumn::isPlp() const {
    return size == tds::kPlpMarker && (tdsType == tds::kBigVarChar || tdsType == tds::kNVarChar ||
                                       tdsType == tds::kBigVarBinary || tdsType == tds::kXml);
}

BulkColumn readBulkColumn(BulkMessageReader& in) {
    BulkColumn c;
    in.u32();  // user type
    in.u16();  // flags: the table's own say
    c.tdsType = in.u8();
    switch (c.tdsType) {
        case tds::kIntN:
        case tds::kBitN:
        case tds::kMoneyN:
        case tds::kFloatN:
        case tds::kDateTimeN:
        case tds::kGuid:
            c.size = in.u8();
            break;
        case tds::kDecimalN:
        case tds::kNumericN:
            c.size = in.u8();
            c.precision = in.u8();
            c.scale = in.u8();
            break;
        case tds::kDate:
            break;
        case tds::kTime:
        case tds::kDateTime2:
        case tds::kDateTimeOffset:
            c.scale = in.u8();
            if (c.scale > 7) throw ProtocolError("bulk load time scale above 7");
            break;
        case tds::kBigChar:
        case tds::kBigVarChar:
        case tds::kNChar:
        case tds::kNVarChar:
        case tds::kBigBinary:
        case tds::kBigVarBinary:
            c.size = in.u16();
            break;
        case tds::kText:
        case tds::kNText:
        case tds::kImage:
            c.size = in.u32();
            break;
        default:
            throw unsupported("bulk load of TDS data type " + std::to_string(c.tdsType));
    }
    if (hasCollation(c.tdsType)) in.skip(5);
    // Text pointer types name their table.
    if (isTextPointerType(c.tdsType)) in.skip(2u * in.u16());
    uint8_t nameLength = in.u8();
    const uint8_t* name = in.bytes(2u * nameLength);
    c.name = utf16ToUtf8(utf16FromLeBytes(Bytes(name, name + 2u * nameLength)));
    return c;
}

std::optional<std::string> readBulkValue(BulkMessageReader& in, const BulkColumn& wire,
                                         const DeclaredType& column, size_t ordinal) {
    switch (wire.tdsType) {
        case tds::kBigChar:
        case tds::kBigVarChar:
        case tds::kNChar:
        case tds::kNVarChar:
        case tds::kText:
        case tds::kNText:
        case tds::kBigBinary:
        case tds::kBigVarBinary:
        case tds::kImage: {
            std::optional<std::string> raw = readLongValue(in, wire);
            if (!raw) return std::nullopt;
            bool isBinary = wire.tdsType == tds::kBigBinary || wire.tdsType == tds::kBigVarBinary ||
                            wire.tdsType == tds::kImage;
            size_t unitBytes = isUnicodeType(column.type) ? 2 : 1;
            if (!column.isMax() && column.length > 0 &&
                raw->size() > static_cast<size_t>(column.length) * unitBytes) {
                throw invalidLength(ordinal);
            }
            if (isBinary) return binaryText(std::move(*raw), column);
            bool unicodeWire = wire.tdsType == tds::kNChar || wire.tdsType == tds::kNVarChar ||
                               wire.tdsType == tds::kNText;
            return characterText(*raw, column, unicodeWire, ordinal);
        }
        default:
            break;
    }
    size_t length = in.u8();
    if (length == 0) return std::nullopt;
    switch (wire.tdsType) {
        case tds::kDate:
        case tds::kTime:
        case tds::kDateTime2:
        case tds::kDateTimeOffset:
            return dateTimeText(in, wire, column, length, ordinal);
        default:
            break;
    }
    if (length > fixedLengthLimit(wire.tdsType)) throw invalidLength(ordinal);
    const uint8_t* p = in.bytes(length);
    switch (wire.tdsType) {
        case tds::kDateTimeN:
            if (length != 4 && length != 8) throw invalidLength(ordinal);
            return classicDateTimeText(p, length);
        case tds::kGuid:
            if (length != 16) throw invalidLength(ordinal);
            return guidText(p);
        case tds::kDecimalN:
        case tds::kNumericN:
            if (length < 2) throw invalidLength(ordinal);
            return numberText(p, length, wire);
        default:
            if (wire.tdsType == tds::kMoneyN && length != 4 && length != 8) {
                throw invalidLength(ordinal);
            }
            return numberText(p, length, wire);
    }
}

}  // namespace standin
