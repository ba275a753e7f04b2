#include "response_writer.hpp"

namespace standin {

void ResponseWriter::flushIfLarge() {
    if (tokens_.size() >= stream_.packetSize()) stream_.append(tokens_.take());
}

bool ResponseWriter::cancelled() {
    if (!cancelled_ && stream_.attentionWaiting()) cancelled_ = true;
    return cancelled_;
}

bool ResponseWriter::cancelledWithin(std::chrono::milliseconds slice) {
    if (!cancelled_ && stream_.attentionWithin(slice)) cancelled_ = true;
    return cancelled_;
}

void ResponseWriter::done(uint8_t token, uint16_t status, uint16_t command, uint64_t rows) {
    tokens::done(tokens_, token, status, command, rows);
}

void ResponseWriter::finish() {
    if (cancelled_) tokens::done(tokens_, tokens::kDone, done_status::kAttention, 0, 0);
    stream_.append(tokens_.take());
    stream_.endResponse();
}

}  // namespace standin
