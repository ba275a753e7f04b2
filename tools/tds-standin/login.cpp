#include "login.hpp"

#include "server_error.hpp"
#include "text_encoding.hpp"

#include <vector>

namespace standin {
namespace {

constexpr size_t kUserNameField = 40;
constexpr size_t kPasswordField = 44;
constexpr size_t kServerNameField = 52;
constexpr size_t kDatabaseField = 68;

std::u16string stringField(const Bytes& payload, size_t fieldOffset) {
    ByteReader header(payload);
    header.seek(fieldOffset);
    uint16_t offset = header.u16();
    uint16_t chars = header.u16();
    ByteReader body(payload);
    body.seek(offset);
    return body.utf16(chars);
}

// LOGIN7 passwords have each byte's nibbles swapped and XORed with 0xA5.
std::u16string decodePassword(const Bytes& payload) {
    ByteReader header(payload);
    header.seek(kPasswordField);
    uint16_t offset = header.u16();
    uint16_t chars = header.u16();
    ByteReader body(payload);
    body.seek(offset);
    Bytes raw = body.bytes(static_cast<size_t>(chars) * 2);
    for (auto& b : raw) {
        b ^= 0xA5;
        b = static_cast<uint8_t>((b << 4) | (b >> 4));
    }
    return utf16FromLeBytes(raw);
}

// Fixed-form LOGIN7 fields keep anything after a NUL out of the value, like the server.
std::string untilNul(const std::u16string& s) { return utf16ToUtf8(s.substr(0, s.find(u'\0'))); }

}  // namespace

LoginRequest parseLogin7(const Bytes& payload) {
    ByteReader reader(payload);
    reader.skip(4);  // length
    LoginRequest login;
    login.tdsVersion = reader.u32();
    login.packetSize = reader.u32();
    login.userName = untilNul(stringField(payload, kUserNameField));
    login.password = utf16ToUtf8(decodePassword(payload));
    // FreeTDS sends "host,port" style names with a NUL inside; only the text matters here.
    login.serverName = untilNul(stringField(payload, kServerNameField));
    login.database = untilNul(stringField(payload, kDatabaseField));
    return login;
}

Bytes preloginResponse() {
    struct Option {
        uint8_t token;
        Bytes value;
    };
    const std::vector<Option> options = {
        {0x00, {16, 0, 0x03, 0xE8, 0, 0}},  // version 16.0.1000
        {0x01, {0x02}},                     // ENCRYPT_NOT_SUP
        {0x02, {0x00}},                     // instance: default
        {0x03, {}},                         // thread id
        {0x04, {0x00}},                     // MARS off
    };
    ByteWriter out;
    uint16_t offset = static_cast<uint16_t>(options.size() * 5 + 1);
    for (const auto& o : options) {
        out.u8(o.token);
        out.u16be(offset);
        out.u16be(static_cast<uint16_t>(o.value.size()));
        offset = static_cast<uint16_t>(offset + o.value.size());
    }
    out.u8(0xFF);
    for (const auto& o : options) out.bytes(o.value);
    return out.take();
}

}  // namespace standin
