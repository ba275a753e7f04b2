#include "packet_stream.hpp"

#include <thread>

namespace standin {
namespace {
constexpr size_t kHeaderSize = 8;
constexpr uint8_t kEndOfMessage = 0x01;
constexpr uint8_t kIgnoreMessage = 0x02;
constexpr size_t kMaxMessage = 256u * 1024 * 1024;
}  // namespace

std::optional<Message> PacketStream::readMessage() {
    Message message;
    uint8_t header[kHeaderSize];
    if (!readFully(fd_, header, kHeaderSize)) return std::nullopt;
    message.type = header[0];
    for (uint8_t status = packetBody(header, message.payload);;) {
        if (status & kEndOfMessage) return message;
        if (message.type == packet_type::kBulkLoad) {
            message.complete = false;
            return message;
        }
        status = readPacket(message.payload);
    }
}

bool PacketStream::readContinuation(Bytes& payload, bool& ignored) {
    uint8_t status = readPacket(payload);
    ignored = (status & kIgnoreMessage) != 0;
    return (status & kEndOfMessage) != 0;
}

uint8_t PacketStream::readPacket(Bytes& payload) {
    uint8_t header[kHeaderSize];
    if (!readFully(fd_, header, kHeaderSize))
        throw ProtocolError("connection closed inside a message");
    return packetBody(header, payload);
}

uint8_t PacketStream::packetBody(const uint8_t* header, Bytes& payload) {
    size_t length = (static_cast<size_t>(header[2]) << 8) | header[3];
    if (length < kHeaderSize) throw ProtocolError("packet length below header size");
    size_t at = payload.size();
    if (at + length > kMaxMessage) throw ProtocolError("request too large");
    payload.resize(at + length - kHeaderSize);
    if (length > kHeaderSize && !readFully(fd_, payload.data() + at, length - kHeaderSize)) {
        throw ProtocolError("connection closed inside a packet");
    }
    return header[1];
}

void PacketStream::append(const Bytes& tokens) {
    pending_.insert(pending_.end(), tokens.begin(), tokens.end());
    size_t body = packetSize_ - kHeaderSize;
    size_t sent = 0;
    // Keep at least one byte back so that the final packet always carries data.
    while (pending_.size() - sent > body) {
        sendPacket(packet_type::kTabularResult, pending_.data() + sent, body, false);
        sent += body;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(sent));
}

void PacketStream::endResponse() {
    sendPacket(packet_type::kTabularResult, pending_.data(), pending_.size(), true);
    pending_.clear();
}

void PacketStream::sendMessage(uint8_t type, const Bytes& payload) {
    size_t body = packetSize_ - kHeaderSize;
    size_t sent = 0;
    while (payload.size() - sent > body) {
        sendPacket(type, payload.data() + sent, body, false);
        sent += body;
    }
    sendPacket(type, payload.data() + sent, payload.size() - sent, true);
}

bool PacketStream::attentionWaiting() {
    uint8_t type = 0;
    return peekByte(fd_, type) && type == packet_type::kAttention;
}

bool PacketStream::attentionWithin(std::chrono::milliseconds slice) {
    uint8_t type = 0;
    switch (peekByteWithin(fd_, type, static_cast<int>(slice.count()))) {
        case PeekResult::Nothing:
            return false;
        case PeekResult::Closed:
            throw ProtocolError("connection closed during a statement");
        case PeekResult::Byte:
            break;
    }
    if (type == packet_type::kAttention) return true;
    // Anything else may not arrive before the response ends; it waits its turn, and the
    // slice passes without spinning on it.
    std::this_thread::sleep_for(slice);
    return false;
}

void PacketStream::sendPacket(uint8_t type, const uint8_t* data, size_t n, bool last) {
    Bytes packet;
    packet.reserve(n + kHeaderSize);
    size_t length = n + kHeaderSize;
    packet.push_back(type);
    packet.push_back(last ? kEndOfMessage : 0);
    packet.push_back(static_cast<uint8_t>(length >> 8));
    packet.push_back(static_cast<uint8_t>(length));
    packet.push_back(static_cast<uint8_t>(spid_ >> 8));
    packet.push_back(static_cast<uint8_t>(spid_));
    packet.push_back(packetNumber_++);
    packet.push_back(0);
    packet.insert(packet.end(), data, data + n);
    writeFully(fd_, packet.data(), packet.size());
}

}  // namespace standin
