#include "db/odbc/waiting_call.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace dorvane::db {
namespace {

// Joins the thread however the caller leaves, so the call never outlives what it uses.
class JoinedThread {
  public:
    explicit JoinedThread(std::thread thread) : thread_(std::move(thread)) {}
    ~JoinedThread() { thread_.join(); }
    JoinedThread(const JoinedThread&) = delete;
    JoinedThread& operator=(const JoinedThread&) = delete;

  private:
    std::thread thread_;
};

}  // namespace

void runWhileWaiting(const std::function<void()>& call, const WhileWaiting& whileWaiting,
                     const CancelCall& cancel, std::chrono::milliseconds slice) {
    if (!whileWaiting) return call();
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr failure;
    std::exception_ptr givenUp;  // what a turn threw
    {
        const JoinedThread worker(std::thread([&] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            done = true;
            finished.notify_one();
        }));
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, slice, [&] { return done; })) {
            lock.unlock();
            try {
                whileWaiting();
            } catch (...) {
                givenUp = std::current_exception();
                if (cancel) cancel();
            }
            lock.lock();
            if (givenUp) {
                finished.wait(lock, [&] { return done; });
                break;
            }
        }
    }
    if (givenUp) std::rethrow_exception(givenUp);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace dorvane::db
