#include "tokens.hpp"

#include "text_encoding.hpp"

namespace standin::tokens {
namespace {

constexpr uint8_t kEnvChange = 0xE3;
constexpr uint8_t kInfo = 0xAB;
constexpr uint8_t kError = 0xAA;
constexpr uint8_t kLoginAck = 0xAD;
constexpr uint8_t kReturnStatus = 0x79;
constexpr uint8_t kColumnMetadata = 0x81;
constexpr uint32_t kTds74 = 0x74000004;
const std::u16string kServerName = u"DORVANE-STANDIN";

// Writes a token whose body starts with a two-byte length.
template <typename Body>
void withLength(ByteWriter& out, uint8_t token, Body body) {
    out.u8(token);
    size_t at = out.size();
    out.u16(0);
    body();
    out.patchU16(at, static_cast<uint16_t>(out.size() - at - 2));
}

void message(ByteWriter& out, uint8_t token, int32_t number, uint8_t severity, uint8_t state,
             const std::string& text) {
    withLength(out, token, [&] {
        out.u32(static_cast<uint32_t>(number));
        out.u8(state);
        out.u8(severity);
        out.usVarchar(utf8ToUtf16(text));
        out.bVarchar(kServerName);
        out.bVarchar(u"");
        out.u32(1);
    });
}

}  // namespace

void envChange(ByteWriter& out, uint8_t type, const std::u16string& newValue,
               const std::u16string& oldValue) {
    withLength(out, kEnvChange, [&] {
        out.u8(type);
        out.bVarchar(newValue);
        out.bVarchar(oldValue);
    });
}

void collationChange(ByteWriter& out) {
    withLength(out, kEnvChange, [&] {
        out.u8(env_change::kCollation);
        out.u8(static_cast<uint8_t>(collationBytes().size()));
        out.bytes(collationBytes());
        out.u8(0);
    });
}

void transactionChange(ByteWriter& out, uint8_t type, uint64_t newDescriptor,
                       uint64_t oldDescriptor) {
    auto descriptor = [&](uint64_t d) {
        if (d == 0) return out.u8(0);
        out.u8(8);
        out.u64(d);
    };
    withLength(out, kEnvChange, [&] {
        out.u8(type);
        descriptor(newDescriptor);
        descriptor(oldDescriptor);
    });
}

void info(ByteWriter& out, int32_t number, uint8_t severity, uint8_t state,
          const std::string& text) {
    message(out, kInfo, number, severity, state, text);
}

void error(ByteWriter& out, const SqlError& e) {
    message(out, kError, e.number, e.severity, e.state, e.what());
}

void loginAck(ByteWriter& out) {
    withLength(out, kLoginAck, [&] {
        out.u8(1);  // T-SQL interface
        out.u32be(kTds74);
        // FreeTDS recognises the server family by this program name.
        out.bVarchar(u"Microsoft SQL Server");
        out.u8(16);
        out.u8(0);
        out.u8(0x03);
        out.u8(0xE8);
    });
}

void done(ByteWriter& out, uint8_t token, uint16_t status, uint16_t command, uint64_t rows) {
    out.u8(token);
    out.u16(status);
    out.u16(command);
    out.u64(rows);
}

void returnStatus(ByteWriter& out, int32_t value) {
    out.u8(kReturnStatus);
    out.u32(static_cast<uint32_t>(value));
}

void columnMetadata(ByteWriter& out, const std::vector<ResultColumn>& columns,
                    const std::u16string& tableName) {
    out.u8(kColumnMetadata);
    out.u16(static_cast<uint16_t>(columns.size()));
    for (const auto& column : columns) {
        out.u32(0);  // user type
        // nullable, updatable, identity
        out.u16(static_cast<uint16_t>((column.nullable ? 0x0009 : 0x0008) |
                                      (column.identity ? 0x0010 : 0)));
        writeTypeInfo(out, column.type, tableName);
        out.bVarchar(column.name);
    }
}

}  // namespace standin::tokens
