#pragma once
// A statement's rows read on a thread of their own while the caller works through the
// rows read so far. Rows travel in chunks through a queue whose size is bounded: the
// reading pauses while the queue is full, so memory stays flat however large the table.

#include <sql.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "db/odbc/ado_types.h"
#include "db/odbc/fetch_window.h"
#include "db/odbc/odbc_handle.h"
#include "db/odbc/row_buffer.h"
#include "db/odbc/row_fetcher.h"
#include "db/odbc/thread_priority.h"
#include "db/values/db_error.h"

namespace dorvane::db {

class RowStream {
  public:
    // Ends the transaction the rows are read in, committing or rolling back.
    using EndTransaction = std::function<void(bool commit)>;

    // `statement` has been executed on `connection` and stands before its first row;
    // exactly `expectedRows` rows must follow.
    RowStream(SQLHDBC connection, OdbcHandle statement, std::vector<FetchKind> kinds,
              std::int64_t expectedRows, EndTransaction endTransaction, std::size_t memoryBound,
              std::unique_ptr<FetchWindow> window = nullptr);
    ~RowStream();
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    void start(ReaderPriority priority = ReaderPriority::BelowCaller);
    // Called every few milliseconds while the reader's side waits for rows, so a caller
    // with an event loop keeps it going. Set on the reader's side, between two waits.
    void setWhileWaiting(std::function<void()> whileWaiting) {
        whileWaiting_ = std::move(whileWaiting);
    }
    const std::function<void()>& whileWaiting() const { return whileWaiting_; }

    // The reader's side: the next chunk of rows, waiting for it. Throws DbError when the
    // rows ended early, with the error that ended them.
    RowBuffer next();
    // After the last expected row: waits until the statement is done; throws DbError
    // when it failed or held more rows.
    void waitForEnd();

    // The connection's side, before it runs anything else: the rest of the rows are read
    // on the calling thread (past the memory bound into a temporary file) and the
    // transaction ends. Errors are kept for the reader.
    void settle();
    // The reader has gone: reading stops and the transaction is rolled back.
    void cancel();

  private:
    struct Chunk {
        RowBuffer rows;
        std::size_t bytes = 0;
    };

    void run(ReaderPriority priority);
    // Reads rows until the chunk is full; false when the statement has no more rows.
    bool fill(RowBuffer& chunk, std::int64_t rows, std::size_t bytes);
    bool fetchOne(RowBuffer& chunk);
    // Waits for room unless stopping; false when stopping.
    bool publish(RowBuffer chunk);
    // Queues rows taken from the driver; the caller holds the mutex.
    void enqueue(RowBuffer rows);
    void finish();
    void fail(const DbError& error);
    // Runs reading work; an error ends the rows with it.
    template <class Body>
    void guardedRead(Body&& body);
    // Stops the reading thread and waits for it; `cancelFetch` also cuts short a fetch
    // waiting on the server.
    void stopThread(bool cancelFetch);
    // Waits under `lock` until `ready`, in slices calling `whileWaiting_` when there is one.
    template <class Ready>
    void waitOnReader(std::unique_lock<std::mutex>& lock, Ready ready);

    std::vector<FetchKind> kinds_;
    RowFetcher fetcher_;
    const std::int64_t expectedRows_;
    EndTransaction endTransaction_;
    std::function<void()> whileWaiting_;
    const std::size_t memoryBound_;
    std::unique_ptr<FetchWindow> window_;  // sized from the rows read; ended with them

    std::mutex mutex_;
    std::condition_variable changed_;
    OdbcHandle statement_;  // released once the rows are done
    bool transactionOpen_ = true;
    std::int64_t produced_ = 0;
    std::deque<Chunk> queue_;
    std::size_t queuedBytes_ = 0;
    std::atomic<bool> stopping_ = false;  // set under the mutex; read per row without it
    bool ended_ = false;
    std::optional<DbError> error_;
    std::thread thread_;
};

}  // namespace dorvane::db
