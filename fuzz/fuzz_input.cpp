#include "fuzz_input.h"

#include <array>

#include "db/odbc/ado_types.h"

namespace dorvane::fuzz {
namespace {

constexpr std::array<char16_t, 34> kAlphabet{
    u'"', u'\'', u'\\', u'[', u']',  u'{',  u'}',  u';',      u'=',      u',',     u' ', u'(',
    u')', u'-',  u'/',  u'*', u'\0', u'\n', u'\t', u'E',      u'N',      u'e',     u'n', u'x',
    u'0', u'1',  u'9',  u'.', u'+',  u'$',  u'%',  u'\u00e9', u'\u4e2d', u'\u00a0'};

db::DateTimeParts parts(FuzzedDataProvider& in) {
    // The ranges the row buffer keeps: a 16-bit year, bytes for the rest, 32-bit nanoseconds.
    db::DateTimeParts p;
    p.year = in.ConsumeIntegral<std::int16_t>();
    p.month = in.ConsumeIntegral<std::uint8_t>();
    p.day = in.ConsumeIntegral<std::uint8_t>();
    p.hour = in.ConsumeIntegral<std::uint8_t>();
    p.minute = in.ConsumeIntegral<std::uint8_t>();
    p.second = in.ConsumeIntegral<std::uint8_t>();
    p.nanosecond = in.ConsumeIntegral<std::int32_t>();
    return p;
}

QString digits(FuzzedDataProvider& in) {
    // Mostly numbers as drivers give them, sometimes anything.
    if (in.ConsumeIntegralInRange(0, 7) == 0) return text(in, 40);
    QString s;
    if (in.ConsumeBool()) s += u'-';
    const int whole = in.ConsumeIntegralInRange(0, 45);
    for (int i = 0; i < whole; ++i) s += QChar(u'0' + in.ConsumeIntegralInRange(0, 9));
    if (in.ConsumeBool()) {
        s += u'.';
        const int fraction = in.ConsumeIntegralInRange(0, 40);
        for (int i = 0; i < fraction; ++i) s += QChar(u'0' + in.ConsumeIntegralInRange(0, 9));
    }
    return s;
}

}  // namespace

QString text(FuzzedDataProvider& in, std::size_t maxLength) {
    const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    QString s;
    for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
        const auto pick = in.ConsumeIntegral<std::uint8_t>();
        if (pick < 2 * kAlphabet.size())
            s += QChar(kAlphabet[pick % kAlphabet.size()]);
        else if (pick < 0xf0)
            s += QChar(static_cast<char16_t>(0x20 + pick % 0x5f));  // printable ASCII
        else
            s += QChar(in.ConsumeIntegral<char16_t>());  // any UTF-16 unit
    }
    return s;
}

db::Value value(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 12)) {
        case 0:
            return db::Value();
        case 1:
            return db::Value::integer(in.ConsumeIntegral<std::int64_t>());
        case 2:
            return db::Value::single(in.ConsumeFloatingPoint<float>());
        case 3:
            return db::Value::dbl(in.ConsumeFloatingPoint<double>());
        case 4:
            return db::Value::decimal(digits(in));
        case 5:
            return db::Value::date(parts(in));
        case 6:
            return db::Value::time(parts(in));
        case 7:
            return db::Value::timestamp(parts(in));
        case 8:
            return db::Value::boolean(in.ConsumeBool());
        case 9:
            return db::Value::binary(QByteArray::fromStdString(in.ConsumeRandomLengthString(64)));
        case 10:
            return db::Value::guid(text(in, 40));
        default:
            return db::Value::text(text(in, 200));
    }
}

db::AdoType adoType(FuzzedDataProvider& in) {
    namespace ado = db::ado;
    constexpr std::array<db::AdoType, 28> kCodes{
        ado::kSmallInt,      ado::kInteger,         ado::kSingle,
        ado::kDouble,        ado::kCurrency,        ado::kBoolean,
        ado::kTinyInt,       ado::kUnsignedTinyInt, ado::kUnsignedSmallInt,
        ado::kUnsignedInt,   ado::kBigInt,          ado::kUnsignedBigInt,
        ado::kGuid,          ado::kBinary,          ado::kChar,
        ado::kWChar,         ado::kNumeric,         ado::kDBDate,
        ado::kDBTime,        ado::kDBTimeStamp,     ado::kVarChar,
        ado::kLongVarChar,   ado::kVarWChar,        ado::kLongVarWChar,
        ado::kVarBinary,     ado::kLongVarBinary,   db::AdoType::Date,
        db::AdoType::Decimal};
    if (in.ConsumeIntegralInRange(0, 15) == 0)
        return static_cast<db::AdoType>(in.ConsumeIntegral<std::int16_t>());
    return kCodes[in.ConsumeIntegralInRange<std::size_t>(0, kCodes.size() - 1)];
}

}  // namespace dorvane::fuzz
