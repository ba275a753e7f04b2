#pragma once

#include "catalogue.hpp"
#include "logger.hpp"
#include "packet_stream.hpp"
#include "pg_connection.hpp"
#include "response_writer.hpp"
#include "server_config.hpp"
#include "session_state.hpp"
#include "session_transaction.hpp"

#include <memory>
#include <optional>

namespace standin {

// One client connection: login, then requests until the client goes away.
class Session {
  public:
    Session(int fd, uint16_t sessionId, const ServerConfig& config, Logger& log);
    void run();

  private:
    bool login(const Message& message);
    void sqlBatch(const Message& message);
    void rpc(const Message& message);
    void transactionManager(const Message& message);
    void bulkLoad(Message message);
    // Reads ALL_HEADERS; raises 3971 when they name a transaction other than the open one.
    void requireCurrentTransaction(ByteReader& reader);
    // Writes the error of a request that ended with it.
    void reportError(ResponseWriter& out, const SqlError& e);
    void acknowledgeAttention();
    void refuse(const Message& message);
    // After an error in an explicit transaction under XACT_ABORT: rolls it all back.
    // True when the batch must end.
    bool abortTransaction(ResponseWriter& out);
    void endOpenTransaction();
    void log(const std::string& text);

    PacketStream stream_;
    uint16_t sessionId_;
    const ServerConfig& config_;
    Logger& log_;
    SessionState state_;
    std::unique_ptr<PgConnection> backend_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<SessionTransaction> transaction_;
    // The table an INSERT BULK announced, for the bulk load message that must follow it.
    std::optional<ObjectName> pendingBulkLoad_;
};

}  // namespace standin
