#pragma once

#include "packet_stream.hpp"
#include "tokens.hpp"

namespace standin {

// Collects the tokens of one response and passes them to the packet stream as packets
// fill, noticing when the client sends an attention (cancel) meanwhile.
class ResponseWriter {
public:
    explicit ResponseWriter(PacketStream& stream) : stream_(stream) {}

    ByteWriter& tokens() { return tokens_; }
    // Sends complete packets once enough tokens are collected.
    void flushIfLarge();
    // True once an attention has arrived; checked between rows.
    bool cancelled();
    // Like cancelled, but waits up to `slice` for an attention to arrive.
    bool cancelledWithin(std::chrono::milliseconds slice);
    // Writes a DONE (or DONEPROC/DONEINPROC) token.
    void done(uint8_t token, uint16_t status, uint16_t command, uint64_t rows);
    // Ends the response; a cancelled one ends with the DONE that acknowledges the attention.
    void finish();
    bool wasCancelled() const { return cancelled_; }

private:
    PacketStream& stream_;
    ByteWriter tokens_;
    bool cancelled_ = false;
};

}  // namespace standin
