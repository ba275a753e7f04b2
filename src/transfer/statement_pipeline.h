#pragma once
// A copy's INSERT statements, run one at a time and in order on a thread of their own
// while the command's thread builds the next ones, so the server does not wait for the
// building between two statements. Hand-overs are batched: the sending thread sleeps only
// when nothing is queued, and the caller only when the queue is full, until it has drained
// to half; neither spins.

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "db/odbc/connection.h"

namespace dorvane::transfer {

// How much may wait in the queue; at least one statement always may, however long.
struct PipelineLimits {
    std::size_t statements = 64;
    std::size_t bytes = std::size_t{8} << 20;  // of statement text, as held (UTF-16)
};

class StatementPipeline {
  public:
    // `whileWaiting` runs every few milliseconds while the caller waits on the queue. When it
    // throws, the statements still queued are passed over, the one running is cancelled, and
    // once it has been answered the exception goes on to the caller.
    explicit StatementPipeline(std::function<void()> whileWaiting, PipelineLimits limits = {});
    // Runs what is still queued, then ends the thread.
    ~StatementPipeline();
    StatementPipeline(const StatementPipeline&) = delete;
    StatementPipeline& operator=(const StatementPipeline&) = delete;

    // Queues a copy of `sql` to run on `target`, the same connection for every call; the
    // caller must not use that connection until `settle` has returned. Waits while the
    // queue is full. Once a statement has failed, the ones after it are passed over.
    void send(db::Connection& target, const QString& sql);
    // True once a statement has failed; does not wait.
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    // Waits until every statement queued has run or been passed over. Gives the failure
    // of the statement that failed, once; null when none has.
    std::exception_ptr settle();
    // How many statements have run without failing; does not wait.
    std::size_t succeeded() const { return succeeded_.load(std::memory_order_acquire); }
    // Passes over every statement still queued, and any sent later: the caller is about
    // to undo what they would do. Does not wait for the one running.
    void abandon();

  private:
    enum class CallerWait { Nothing, Space, Settled };

    void run();
    bool hasSpace() const;
    bool drainedToHalf() const;
    bool settled() const { return queue_.empty() && !running_; }
    void wakeCallerIfDone();
    template <class Ready>
    void waitFor(std::unique_lock<std::mutex>& lock, CallerWait what, Ready ready);
    void giveUp(std::unique_lock<std::mutex>& lock);
    QString takeSpareBuffer();
    void keepSpareBuffer(QString&& buffer);

    const std::function<void()> whileWaiting_;
    const PipelineLimits limits_;
    db::Connection* target_ = nullptr;

    std::mutex mutex_;
    std::condition_variable toSender_;
    std::condition_variable toCaller_;
    std::deque<QString> queue_;
    std::size_t queuedBytes_ = 0;
    std::vector<QString> spare_;  // buffers of statements answered, reused for the next
    bool running_ = false;        // a statement is out of the queue and not yet answered
    bool senderIdle_ = false;
    bool closing_ = false;
    CallerWait callerWaits_ = CallerWait::Nothing;
    std::exception_ptr failure_;
    std::atomic<bool> failed_{false};
    std::atomic<std::size_t> succeeded_{0};
    bool abandoned_ = false;
    std::thread thread_;  // last: started once everything above exists
};

}  // namespace dorvane::transfer
