#pragma once
// Yielding to the event loop during long copies. Processing pending events costs far
// more than building one statement, so calls within a short interval are coalesced;
// the interval stays well below what a user notices.

#include <chrono>

#include "core/platform.h"

namespace dorvane::core {

struct YieldPolicy {
    // Calls closer together than this after the last processing are skipped; zero
    // processes events on every call (tests that act inside a yield use that).
    std::chrono::microseconds minInterval{5000};

    static YieldPolicy everyCall() { return YieldPolicy{std::chrono::microseconds{0}}; }
};

class EventYield {
  public:
    EventYield(Platform& platform, YieldPolicy policy);

    // Processes pending events now.
    void now();
    // Processes pending events when the interval has passed since the last processing.
    void whenDue();

  private:
    std::chrono::nanoseconds clock() const;

    Platform& platform_;
    YieldPolicy policy_;
    // The check runs for every value of every row: a coarse clock, far cheaper to read,
    // serves whenever its ticks are no longer than the interval.
    bool coarseClock_ = false;
    std::chrono::nanoseconds last_{};
    bool processedOnce_ = false;
};

}  // namespace dorvane::core
