#include "core/event_yield.h"

#if defined(__linux__)
#include <time.h>
#endif

namespace dorvane::core {
namespace {

#if defined(__linux__)
std::chrono::nanoseconds coarseResolution() {
    timespec resolution{};
    if (clock_getres(CLOCK_MONOTONIC_COARSE, &resolution) != 0) return std::chrono::hours(1);
    return std::chrono::seconds(resolution.tv_sec) + std::chrono::nanoseconds(resolution.tv_nsec);
}
#endif

}  // namespace

EventYield::EventYield(Platform& platform, YieldPolicy policy)
    : platform_(platform), policy_(policy) {
#if defined(__linux__)
    static const std::chrono::nanoseconds resolution = coarseResolution();
    coarseClock_ = policy_.minInterval.count() > 0 && resolution <= policy_.minInterval;
#endif
}

std::chrono::nanoseconds EventYield::clock() const {
#if defined(__linux__)
    if (coarseClock_) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
    }
#endif
    return std::chrono::steady_clock::now().time_since_epoch();
}

void EventYield::now() {
    platform_.processEvents();
    // Taken after the handlers ran, so a slow handler does not eat the next interval.
    last_ = clock();
    processedOnce_ = true;
}

void EventYield::whenDue() {
    if (policy_.minInterval.count() <= 0 || !processedOnce_ ||
        clock() - last_ >= policy_.minInterval)
        now();
}

}  // namespace dorvane::core
