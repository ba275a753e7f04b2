#include "db/bulk/background_call.h"

#include <stdexcept>
#include <utility>

namespace dorvane::db {

BackgroundCall::~BackgroundCall() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundCall::start(std::function<void()> call) {
    if (thread_.joinable()) throw std::logic_error("The call started before was not collected.");
    failure_ = nullptr;
    finished_.store(false, std::memory_order_relaxed);
    thread_ = std::thread([this, call = std::move(call)] {
        try {
            call();
        } catch (...) {
            failure_ = std::current_exception();
        }
        finished_.store(true, std::memory_order_release);
    });
}

void BackgroundCall::collect() {
    if (!thread_.joinable()) return;
    thread_.join();
    if (std::exception_ptr failure = std::exchange(failure_, nullptr))
        std::rethrow_exception(failure);
}

}  // namespace dorvane::db
