#include "transfer/event_yield.h"

namespace dorvane {

void EventYield::now() {
    platform_.processEvents();
    // Taken after the handlers ran, so a slow handler does not eat the next interval.
    last_ = Clock::now();
    processedOnce_ = true;
}

void EventYield::whenDue() {
    if (policy_.minInterval.count() <= 0 || !processedOnce_ ||
        Clock::now() - last_ >= policy_.minInterval)
        now();
}

}  // namespace dorvane
