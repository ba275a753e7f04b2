#include "request_headers.hpp"

#include "server_error.hpp"

namespace standin {
namespace {

constexpr uint16_t kTransactionDescriptorHeader = 2;
constexpr uint32_t kHeaderPrefix = 6;  // HeaderLength and HeaderType

}  // namespace

uint64_t readTransactionDescriptor(ByteReader& reader) {
    uint32_t total = reader.u32();
    if (total < 4) throw ProtocolError("ALL_HEADERS length too small");
    uint64_t descriptor = 0;
    for (uint32_t left = total - 4; left > 0;) {
        uint32_t length = reader.u32();
        if (length < kHeaderPrefix || length > left)
            throw ProtocolError("malformed ALL_HEADERS header");
        uint16_t type = reader.u16();
        if (type == kTransactionDescriptorHeader && length >= kHeaderPrefix + 8) {
            descriptor = reader.u64();
            reader.skip(length - kHeaderPrefix - 8);  // the outstanding request count
        } else {
            reader.skip(length - kHeaderPrefix);
        }
        left -= length;
    }
    return descriptor;
}

}  // namespace standin
