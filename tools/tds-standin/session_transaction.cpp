#include "session_transaction.hpp"

#include "server_error.hpp"
#include "tokens.hpp"

#include <atomic>

namespace standin {
namespace {

// Descriptors tell transactions apart across the whole server; zero means none.
std::atomic<uint64_t> lastDescriptor{0};

// PostgreSQL's nearest level: its REPEATABLE READ is a snapshot, which is what SQL Server's
// SNAPSHOT gives; READ UNCOMMITTED reads committed rows there anyway.
const char* backendLevel(IsolationLevel level) {
    switch (level) {
    case IsolationLevel::Snapshot:
    case IsolationLevel::RepeatableRead:
        return "REPEATABLE READ";
    case IsolationLevel::Serializable:
        return "SERIALIZABLE";
    default:
        return "READ COMMITTED";
    }
}

}  // namespace

void SessionTransaction::begin(ByteWriter& out) {
    if (count_++ > 0) return;
    descriptor_ = ++lastDescriptor;
    tokens::transactionChange(out, env_change::kBeginTransaction, descriptor_, 0);
}

void SessionTransaction::commit(ByteWriter& out) {
    if (count_ == 0) {
        throw SqlError(3902, 16, 1,
                       "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.");
    }
    if (--count_ > 0) return;
    uint64_t descriptor = descriptor_;
    bool opened = openedAt_.has_value();
    openedAt_.reset();
    descriptor_ = 0;
    try {
        if (opened) conn_.exec("COMMIT");
    } catch (const BackendError&) {
        // PostgreSQL has ended the transaction either way; it is no longer the client's.
        tokens::transactionChange(out, env_change::kRollbackTransaction, 0, descriptor);
        throw;
    }
    tokens::transactionChange(out, env_change::kCommitTransaction, 0, descriptor);
}

void SessionTransaction::rollback(ByteWriter& out) {
    if (count_ == 0) {
        throw SqlError(3903, 16, 1,
                       "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.");
    }
    // Told first: should the backend fail, its transaction is gone all the same.
    tokens::transactionChange(out, env_change::kRollbackTransaction, 0, descriptor_);
    abandon();
}

void SessionTransaction::openBackend(IsolationLevel level) {
    if (openedAt_) return;
    conn_.exec(std::string("BEGIN ISOLATION LEVEL ") + backendLevel(level));
    openedAt_ = level;
}

bool SessionTransaction::abandon() {
    bool wasOpen = count_ > 0;
    bool opened = openedAt_.has_value();
    count_ = 0;
    descriptor_ = 0;
    openedAt_.reset();
    if (opened) conn_.exec("ROLLBACK");
    return wasOpen;
}

}  // namespace standin
