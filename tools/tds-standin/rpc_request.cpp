#include "rpc_request.hpp"

#include "server_error.hpp"
#include "text_encoding.hpp"

namespace standin {
namespace {

constexpr uint16_t kProcIdMarker = 0xFFFF;
constexpr uint16_t kPlpMarker = 0xFFFF;

Bytes readPlp(ByteReader& r) {
    uint64_t total = r.u64();
    Bytes out;
    if (total == ~0ULL) return out;
    for (uint32_t chunk = r.u32(); chunk != 0; chunk = r.u32()) {
        Bytes part = r.bytes(chunk);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

Literal readParameterValue(ByteReader& r) {
    uint8_t type = r.u8();
    Literal value;
    switch (type) {
    case 0xE7:  // nvarchar
    case 0xEF:  // nchar
    case 0xA7:  // varchar
    case 0xAF: {  // char
        uint16_t maxLength = r.u16();
        r.skip(5);  // collation
        bool unicode = type == 0xE7 || type == 0xEF;
        Bytes data;
        if (maxLength == kPlpMarker) {
            data = readPlp(r);
        } else {
            uint16_t length = r.u16();
            if (length == 0xFFFF) return value;
            data = r.bytes(length);
        }
        value.kind = unicode ? Literal::Kind::NationalString : Literal::Kind::String;
        value.text = unicode ? utf16ToUtf8(utf16FromLeBytes(data))
                             : utf16ToUtf8(cp1252ToUtf16(std::string(data.begin(), data.end())));
        return value;
    }
    case 0x26: {  // intN
        r.u8();
        uint8_t length = r.u8();
        if (length == 0) return value;
        uint64_t raw = 0;
        for (uint8_t i = 0; i < length; ++i) raw |= static_cast<uint64_t>(r.u8()) << (8 * i);
        int shift = 64 - 8 * length;
        auto signedValue = static_cast<int64_t>(raw << shift) >> shift;
        value.kind = Literal::Kind::Number;
        value.text = std::to_string(signedValue);
        return value;
    }
    default:
        throw unsupported("RPC parameters of TDS type 0x" + std::to_string(type));
    }
}

}  // namespace

void skipAllHeaders(ByteReader& reader) {
    uint32_t total = reader.u32();
    if (total < 4) throw ProtocolError("ALL_HEADERS length too small");
    reader.skip(total - 4);
}

ProcedureCall parseRpcRequest(const Bytes& payload) {
    ByteReader r(payload);
    skipAllHeaders(r);
    ProcedureCall call;
    uint16_t nameLength = r.u16();
    if (nameLength == kProcIdMarker) {
        throw unsupported("RPC by procedure id " + std::to_string(r.u16()) +
                          " (parameterised statements: sp_executesql, sp_prepare, cursors)");
    }
    call.procedure = foldCase(utf16ToUtf8(r.utf16(nameLength)));
    size_t dot = call.procedure.rfind('.');
    if (dot != std::string::npos) call.procedure = call.procedure.substr(dot + 1);
    r.u16();  // option flags
    while (!r.atEnd()) {
        uint8_t next = r.u8();
        if (next == 0xFF || next == 0x80) throw unsupported("several RPC calls in one request");
        ProcedureArgument argument;
        argument.name = foldCase(utf16ToUtf8(r.utf16(next)));
        uint8_t status = r.u8();
        if (status & 0x01) throw unsupported("OUTPUT parameters");
        argument.value = readParameterValue(r);
        call.arguments.push_back(std::move(argument));
    }
    return call;
}

}  // namespace standin
