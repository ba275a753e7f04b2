#include "db/odbc/row_stream.h"

#include <sqlext.h>

#include <algorithm>
#include <chrono>

#include "db/odbc/odbc_diagnostics.h"
#include "db/odbc/result_reader.h"
#include "db/odbc/thread_priority.h"
#include "db/odbc/waiting_call.h"

namespace dorvane::db {
namespace {

// Small first chunks let the caller start soon; later ones are larger to cost less.
constexpr std::int64_t kFirstChunkRows = 16;
constexpr std::int64_t kLargestChunkRows = 4096;
// Small chunks keep the reading in short bursts, one as each chunk is taken, instead of
// long ones that crowd the caller's own work (a copy's statements) off the processor.
constexpr std::size_t kChunkBytes = std::size_t{64} << 10;
// The smallest memory bound a stream works to: its rows are read in chunks held in memory.
constexpr std::size_t kSmallestBound = std::size_t{1} << 20;
// Rows waiting for the caller. A few chunks keep it fed; reading further ahead would only
// have the reading compete with the copy for the processor in one burst.
constexpr std::size_t kQueueBytes = std::size_t{4} << 20;

const QString kRowsChanged =
    QStringLiteral("The rows changed while they were read: their number is not the one counted.");

}  // namespace

RowStream::RowStream(SQLHDBC connection, OdbcHandle statement, std::vector<FetchKind> kinds,
                     std::int64_t expectedRows, EndTransaction endTransaction,
                     std::size_t memoryBound, std::unique_ptr<FetchWindow> window)
    : kinds_(std::move(kinds)),
      fetcher_(connection, statement.get(), kinds_),
      expectedRows_(expectedRows),
      endTransaction_(std::move(endTransaction)),
      memoryBound_(std::max<std::size_t>(memoryBound, kSmallestBound)),
      window_(std::move(window)),
      statement_(std::move(statement)) {}

RowStream::~RowStream() {
    cancel();
}

void RowStream::start(ReaderPriority priority) {
    thread_ = std::thread([this, priority] { run(priority); });
}

template <class Body>
void RowStream::guardedRead(Body&& body) {
    try {
        body();
    } catch (const DbError& e) {
        fail(e);
    } catch (const std::exception& e) {
        fail(DbError(QString::fromLocal8Bit(e.what())));
    }
}

void RowStream::run(ReaderPriority priority) {
    if (priority == ReaderPriority::BelowCaller) lowerCurrentThreadPriority();
    guardedRead([this] {
        std::int64_t chunkRows = kFirstChunkRows;
        for (;;) {
            RowBuffer chunk(memoryBound_);
            const bool more = fill(chunk, chunkRows, kChunkBytes);
            if (!publish(std::move(chunk))) return;  // whoever stopped the thread goes on
            if (!more) return finish();
            chunkRows = std::min(chunkRows * 2, kLargestChunkRows);
        }
    });
}

bool RowStream::fill(RowBuffer& chunk, std::int64_t rows, std::size_t bytes) {
    while (chunk.rowCount() < rows && chunk.memoryUsed() < bytes) {
        if (!fetchOne(chunk)) return false;
        if (stopping_.load(std::memory_order_relaxed)) break;
    }
    return true;
}

bool RowStream::fetchOne(RowBuffer& chunk) {
    const std::optional<std::size_t> rowBytes =
        fetcher_.fetchRow(chunk, window_ ? window_->rows() : 0);
    if (!rowBytes) return false;
    if (produced_ == expectedRows_) throw DbError(kRowsChanged);
    if (window_) window_->rowRead(*rowBytes);
    ++produced_;
    return true;
}

bool RowStream::publish(RowBuffer chunk) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock,
                  [&] { return stopping_ || queuedBytes_ < std::min(memoryBound_, kQueueBytes); });
    // Rows taken from the driver are queued even when stopping: they cannot be read again.
    enqueue(std::move(chunk));
    return !stopping_;
}

void RowStream::enqueue(RowBuffer rows) {
    if (rows.rowCount() == 0) return;
    const std::size_t bytes = rows.memoryUsed();
    queue_.push_back(Chunk{std::move(rows), bytes});
    queuedBytes_ += bytes;
    changed_.notify_all();
}

void RowStream::finish() {
    finishResults(statement_.get());
    {
        std::lock_guard lock(mutex_);
        statement_ = OdbcHandle();
    }
    window_.reset();  // while the connection is surely there
    transactionOpen_ = false;
    endTransaction_(true);
    if (produced_ != expectedRows_) throw DbError(kRowsChanged);
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
}

void RowStream::fail(const DbError& error) {
    {
        std::lock_guard lock(mutex_);
        statement_ = OdbcHandle();
    }
    window_.reset();
    if (transactionOpen_) {
        transactionOpen_ = false;
        try {
            endTransaction_(false);
        } catch (...) {  // the error that ended the rows is the one to report
        }
    }
    std::lock_guard lock(mutex_);
    if (!error_) error_ = error;
    ended_ = true;
    changed_.notify_all();
}

template <class Ready>
void RowStream::waitOnReader(std::unique_lock<std::mutex>& lock, Ready ready) {
    if (!whileWaiting_) return changed_.wait(lock, ready);
    while (!changed_.wait_for(lock, kWaitSlice, ready)) {
        lock.unlock();
        whileWaiting_();
        lock.lock();
    }
}

RowBuffer RowStream::next() {
    std::unique_lock lock(mutex_);
    waitOnReader(lock, [&] { return !queue_.empty() || ended_; });
    if (queue_.empty()) throw error_ ? *error_ : DbError(kRowsChanged);
    Chunk chunk = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= chunk.bytes;
    changed_.notify_all();
    return std::move(chunk.rows);
}

void RowStream::waitForEnd() {
    std::unique_lock lock(mutex_);
    waitOnReader(lock, [&] { return ended_; });
    if (error_) throw *error_;
    if (!queue_.empty()) throw DbError(kRowsChanged);
}

void RowStream::stopThread(bool cancelFetch) {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (cancelFetch && !ended_ && statement_.get() != SQL_NULL_HANDLE)
            SQLCancel(statement_.get());
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
}

void RowStream::settle() {
    stopThread(false);
    if (ended_) return;
    guardedRead([this] {
        RowBuffer rest(memoryBound_);
        while (fetchOne(rest)) {
        }
        {
            std::lock_guard lock(mutex_);
            enqueue(std::move(rest));
        }
        finish();
    });
}

void RowStream::cancel() {
    stopThread(true);
    if (!ended_) fail(DbError(QStringLiteral("The rows were closed before they were read.")));
    std::lock_guard lock(mutex_);
    queue_.clear();
    queuedBytes_ = 0;
}

}  // namespace dorvane::db
