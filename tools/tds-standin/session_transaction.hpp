#pragma once

#include "byte_buffer.hpp"
#include "pg_connection.hpp"
#include "statements.hpp"

#include <cstdint>
#include <optional>

namespace standin {

// The client's explicit transaction, from BEGIN TRAN to COMMIT or ROLLBACK. Nested BEGINs
// only count. The backend transaction opens at the first statement that touches the
// database, so it gets the isolation level in force then, as SQL Server's does.
class SessionTransaction {
  public:
    explicit SessionTransaction(PgConnection& conn) : conn_(conn) {}

    // Inside BEGIN TRAN: @@TRANCOUNT above zero.
    bool active() const { return count_ > 0; }
    // As the ENVCHANGE that began the transaction named it; 0 outside one.
    uint64_t descriptor() const { return descriptor_; }
    // The level the backend transaction opened with; nothing before it has opened.
    std::optional<IsolationLevel> openedAt() const { return openedAt_; }

    // Each writes the ENVCHANGE that SQL Server sends as the outermost transaction begins
    // or ends, so that the client knows whether one is open.
    void begin(ByteWriter& out);
    // Raises 3902 outside a transaction; a failed backend COMMIT leaves none open.
    void commit(ByteWriter& out);
    // Rolls back all levels of nesting; raises 3903 outside a transaction.
    void rollback(ByteWriter& out);

    // Opens the backend transaction unless it is open already.
    void openBackend(IsolationLevel level);
    // Rolls back without telling the client, which has gone. True when one was open.
    bool abandon();

  private:
    PgConnection& conn_;
    int count_ = 0;
    uint64_t descriptor_ = 0;
    std::optional<IsolationLevel> openedAt_;
};

}  // namespace standin
