#include "transfer/statement_pipeline.h"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace dorvane::transfer {
namespace {

// Short enough that a caller waiting on the queue keeps the event loop responsive.
constexpr std::chrono::milliseconds kWaitSlice{4};
// Buffers kept for reuse: the rows of one table are about the same length, so a kept
// buffer rarely has to grow; very long ones are freed rather than held.
constexpr std::size_t kSpareBuffers = 4;
constexpr qsizetype kSpareCapacity = qsizetype{1} << 20;

std::size_t heldBytes(const QString& sql) {
    return static_cast<std::size_t>(sql.size()) * sizeof(QChar);
}

}  // namespace

StatementPipeline::StatementPipeline(std::function<void()> whileWaiting, PipelineLimits limits)
    : whileWaiting_(std::move(whileWaiting)), limits_(limits) {}

StatementPipeline::~StatementPipeline() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    toSender_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void StatementPipeline::send(db::Connection& target, const QString& sql) {
    QString buffer;
    {
        std::unique_lock lock(mutex_);
        if (!thread_.joinable()) {
            target_ = &target;
            thread_ = std::thread([this] { run(); });
        } else if (target_ != &target) {
            throw std::logic_error("StatementPipeline: one target connection per pipeline");
        }
        if (!hasSpace()) waitFor(lock, CallerWait::Space, [this] { return drainedToHalf(); });
        buffer = takeSpareBuffer();
    }
    // Copied outside the lock, so the sending thread is never held up by a long row.
    buffer.resize(0);
    buffer.append(sql.constData(), sql.size());
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        queuedBytes_ += heldBytes(buffer);
        queue_.push_back(std::move(buffer));
        wake = senderIdle_;
    }
    if (wake) toSender_.notify_one();
}

std::exception_ptr StatementPipeline::settle() {
    std::unique_lock lock(mutex_);
    waitFor(lock, CallerWait::Settled, [this] { return settled(); });
    return std::exchange(failure_, nullptr);
}

void StatementPipeline::abandon() {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
}

void StatementPipeline::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (queue_.empty()) {
            if (closing_) return;
            senderIdle_ = true;
            toSender_.wait(lock);
            senderIdle_ = false;
            continue;
        }
        QString sql = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= heldBytes(sql);
        running_ = true;
        wakeCallerIfDone();
        const bool passOver = abandoned_ || failed_.load(std::memory_order_relaxed);
        lock.unlock();

        std::exception_ptr failure;
        if (!passOver) {
            try {
                target_->execute(sql);
                succeeded_.fetch_add(1, std::memory_order_release);
            } catch (...) {
                failure = std::current_exception();
            }
        }
        if (sql.capacity() > kSpareCapacity) sql = QString();  // freed before taking the lock

        lock.lock();
        if (failure) {
            failure_ = failure;
            failed_.store(true, std::memory_order_release);
        }
        running_ = false;
        keepSpareBuffer(std::move(sql));
        wakeCallerIfDone();
    }
}

bool StatementPipeline::hasSpace() const {
    return queue_.empty() || (queue_.size() < limits_.statements && queuedBytes_ < limits_.bytes);
}

bool StatementPipeline::drainedToHalf() const {
    return queue_.empty() ||
           (queue_.size() <= limits_.statements / 2 && queuedBytes_ <= limits_.bytes / 2);
}

// Called by the sending thread under the lock; a notification only when the caller's
// wait is over, so a full queue costs one wake-up per half a queue, not one per row.
void StatementPipeline::wakeCallerIfDone() {
    const bool done = (callerWaits_ == CallerWait::Space && drainedToHalf()) ||
                      (callerWaits_ == CallerWait::Settled && settled());
    if (done) {
        callerWaits_ = CallerWait::Nothing;
        toCaller_.notify_one();
    }
}

template <class Ready>
void StatementPipeline::waitFor(std::unique_lock<std::mutex>& lock, CallerWait what, Ready ready) {
    while (!ready()) {
        callerWaits_ = what;
        toCaller_.wait_for(lock, kWaitSlice);
        callerWaits_ = CallerWait::Nothing;
        if (ready()) break;
        lock.unlock();
        try {
            if (whileWaiting_) whileWaiting_();
        } catch (...) {
            lock.lock();
            giveUp(lock);
            throw;
        }
        lock.lock();
    }
}

// The caller gives up waiting: nothing more is sent, the statement running is cut short, and
// once the server has answered it the connection is the caller's again.
void StatementPipeline::giveUp(std::unique_lock<std::mutex>& lock) {
    abandoned_ = true;
    if (running_) target_->cancel();
    while (!settled()) {
        callerWaits_ = CallerWait::Settled;
        toCaller_.wait_for(lock, kWaitSlice);
        callerWaits_ = CallerWait::Nothing;
    }
}

QString StatementPipeline::takeSpareBuffer() {
    if (spare_.empty()) return QString();
    QString buffer = std::move(spare_.back());
    spare_.pop_back();
    return buffer;
}

void StatementPipeline::keepSpareBuffer(QString&& buffer) {
    if (spare_.size() < kSpareBuffers && buffer.capacity() <= kSpareCapacity)
        spare_.push_back(std::move(buffer));
}

}  // namespace dorvane::transfer
