#pragma once

#include "byte_buffer.hpp"
#include "socket.hpp"

#include <chrono>
#include <optional>

namespace standin {

namespace packet_type {
constexpr uint8_t kSqlBatch = 0x01;
constexpr uint8_t kRpc = 0x03;
constexpr uint8_t kTabularResult = 0x04;
constexpr uint8_t kAttention = 0x06;
constexpr uint8_t kBulkLoad = 0x07;
constexpr uint8_t kTransactionManager = 0x0E;
constexpr uint8_t kLogin7 = 0x10;
constexpr uint8_t kPrelogin = 0x12;
}  // namespace packet_type

struct Message {
    uint8_t type = 0;
    Bytes payload;
    // False when only the first packet is here: a bulk load's rows are taken packet by
    // packet (readContinuation) rather than held whole.
    bool complete = true;
};

// Splits outgoing messages into TDS packets and joins incoming packets into messages.
class PacketStream {
  public:
    explicit PacketStream(int fd) : fd_(fd) {}

    // The next complete message, or nothing when the client closed the connection.
    std::optional<Message> readMessage();
    // The next packet of an incomplete message, appended to `payload`. True when it was the
    // message's last; `ignored` is set when the client marked the message to be ignored.
    bool readContinuation(Bytes& payload, bool& ignored);

    // Starts a server response; data is sent in packets as they fill.
    void append(const Bytes& tokens);
    // Sends what is buffered as the last packet of the response.
    void endResponse();
    void sendMessage(uint8_t type, const Bytes& payload);

    // True when the client has sent an attention (cancel) packet not yet read.
    bool attentionWaiting();
    // Like attentionWaiting, but waits up to `slice` for one to arrive. Throws
    // ProtocolError when the client closes the connection meanwhile.
    bool attentionWithin(std::chrono::milliseconds slice);

    void setPacketSize(size_t size) { packetSize_ = size; }
    size_t packetSize() const { return packetSize_; }
    void setSessionId(uint16_t spid) { spid_ = spid; }

  private:
    // Reads a packet after the first of a message, appending its data to `payload`;
    // returns its status byte.
    uint8_t readPacket(Bytes& payload);
    uint8_t packetBody(const uint8_t* header, Bytes& payload);
    void sendPacket(uint8_t type, const uint8_t* data, size_t n, bool last);

    int fd_;
    size_t packetSize_ = 4096;
    uint16_t spid_ = 0;
    uint8_t packetNumber_ = 1;
    Bytes pending_;
};

}  // namespace standin
