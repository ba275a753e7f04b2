#include <gtest/gtest.h>

#include <thread>

#include "core/event_yield.h"
#include "scripted_platform.h"

namespace dorvane {
namespace {

using namespace std::chrono_literals;

TEST(TransferEventYield, EveryCallPolicyProcessesEachTime) {
    testing::ScriptedPlatform platform;
    core::EventYield yield(platform, core::YieldPolicy::everyCall());
    for (int i = 0; i < 5; ++i) yield.whenDue();
    EXPECT_EQ(platform.processEventsCalls, 5);
}

// Coalescing is checked with an interval no busy machine can outlast between two calls;
// the tests with short intervals below check only that processing comes again.
TEST(TransferEventYield, CallsWithinTheIntervalAreCoalesced) {
    testing::ScriptedPlatform platform;
    core::EventYield yield(platform, core::YieldPolicy{std::chrono::microseconds(1h)});
    yield.whenDue();  // the first call always processes
    for (int i = 0; i < 1000; ++i) yield.whenDue();
    EXPECT_EQ(platform.processEventsCalls, 1);
    yield.now();
    EXPECT_EQ(platform.processEventsCalls, 2);
}

TEST(TransferEventYield, ProcessesAgainOnceTheIntervalHasPassed) {
    testing::ScriptedPlatform platform;
    core::EventYield yield(platform, core::YieldPolicy{std::chrono::microseconds(2ms)});
    yield.whenDue();
    std::this_thread::sleep_for(3ms);
    yield.whenDue();
    EXPECT_EQ(platform.processEventsCalls, 2);
}

// The default interval may be read off a coarse clock; its ticks must not hold
// processing back for longer than one more interval.
TEST(TransferEventYield, TheDefaultPolicyProcessesAgainWithinTwoIntervals) {
    testing::ScriptedPlatform platform;
    const core::YieldPolicy policy;
    core::EventYield yield(platform, policy);
    yield.whenDue();
    std::this_thread::sleep_for(2 * policy.minInterval);
    yield.whenDue();
    EXPECT_EQ(platform.processEventsCalls, 2);
}

}  // namespace
}  // namespace dorvane
