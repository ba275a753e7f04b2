#pragma once

#include "packet_stream.hpp"

#include <cstdint>
#include <string>

namespace standin {

// Reads a bulk load message as its packets arrive, so that a load of millions of rows is
// never held whole: fields may span packets, and packets are fetched as fields need them.
class BulkMessageReader {
  public:
    BulkMessageReader(PacketStream& stream, Message first);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    // n bytes; the pointer stays valid until the next read.
    const uint8_t* bytes(size_t n);
    void skip(size_t n) { bytes(n); }
    // True once the whole message has been read.
    bool atEnd();
    // Reads and drops what is left of the message.
    void drain();
    // The client marked the message to be ignored; reading on raises SqlError then.
    bool ignored() const { return ignored_; }

  private:
    void need(size_t n);
    uint64_t le(int width);
    void fetch();

    PacketStream& stream_;
    Bytes buffer_;
    size_t pos_ = 0;
    bool ended_;
    bool ignored_ = false;
};

}  // namespace standin
