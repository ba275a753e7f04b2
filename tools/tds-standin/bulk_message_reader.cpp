#include "bulk_message_reader.hpp"

namespace standin {

BulkMessageReader::BulkMessageReader(PacketStream& stream, Message first)
    : stream_(stream), buffer_(std::move(first.payload)), ended_(first.complete) {}

void BulkMessageReader::fetch() {
    if (ended_) throw ProtocolError("bulk load message shorter than its rows");
    // What has been read is dropped once it is most of the buffer.
    if (pos_ > buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(pos_));
        pos_ = 0;
    }
    bool ignored = false;
    ended_ = stream_.readContinuation(buffer_, ignored);
    if (ignored) {
        // The client gave the message up; what it holds is not to be used.
        ignored_ = true;
        throw SqlError(0, 0, 0, "bulk load message ignored as the client asked");
    }
}

void BulkMessageReader::need(size_t n) {
    while (buffer_.size() - pos_ < n) fetch();
}

uint64_t BulkMessageReader::le(int width) {
    const uint8_t* p = bytes(static_cast<size_t>(width));
    uint64_t v = 0;
    for (int i = 0; i < width; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

uint8_t BulkMessageReader::u8() {
    return static_cast<uint8_t>(le(1));
}
uint16_t BulkMessageReader::u16() {
    return static_cast<uint16_t>(le(2));
}
uint32_t BulkMessageReader::u32() {
    return static_cast<uint32_t>(le(4));
}
uint64_t BulkMessageReader::u64() {
    return le(8);
}

const uint8_t* BulkMessageReader::bytes(size_t n) {
    need(n);
    const uint8_t* p = buffer_.data() + pos_;
    pos_ += n;
    return p;
}

bool BulkMessageReader::atEnd() {
    while (pos_ == buffer_.size() && !ended_) fetch();
    return pos_ == buffer_.size();
}

void BulkMessageReader::drain() {
    try {
        while (!ended_) {
            buffer_.clear();
            pos_ = 0;
            fetch();
        }
    } catch (const SqlError&) {
        // Ignored: nothing of it is used anyway.
    }
    pos_ = buffer_.size();
}

}  // namespace standin
