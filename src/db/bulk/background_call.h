#pragma once
// One call at a time on a thread of its own while the thread that started it goes on: a
// copy session sends one buffer of rows so while its caller makes the next. The starting
// thread collects the call (its end, and what it threw) before it starts another, and
// before it uses again whatever the call uses.

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

namespace dorvane::db {

class BackgroundCall {
  public:
    BackgroundCall() = default;
    ~BackgroundCall();  // waits for a call under way; what it threw is dropped
    BackgroundCall(const BackgroundCall&) = delete;
    BackgroundCall& operator=(const BackgroundCall&) = delete;

    // Starts `call`; one started before must have been collected.
    void start(std::function<void()> call);
    // True from start() until collect().
    bool started() const { return thread_.joinable(); }
    // True once a started call has returned or thrown: collecting it does not wait.
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Waits for the started call, if any, and throws what it threw. May run on another
    // thread than start(), as long as the two never run at once.
    void collect();

  private:
    std::thread thread_;
    std::exception_ptr failure_;
    std::atomic<bool> finished_{false};
};

}  // namespace dorvane::db
