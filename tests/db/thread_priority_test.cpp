// A thread that lowers its priority must lower its own only: the process's other threads,
// the one running the commands above all, keep theirs.
#include "db/odbc/thread_priority.h"

#include <gtest/gtest.h>

#include <thread>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace dorvane::testing {
namespace {

#if defined(__linux__)

int nicenessOf(pid_t thread) {
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    EXPECT_EQ(errno, 0);
    return niceness;
}

TEST(ThreadPriority, LowersTheCallingThreadAndNoOther) {
    const int callerBefore = nicenessOf(gettid());
    if (callerBefore >= 19) GTEST_SKIP() << "already at the lowest priority";
    int before = 0;
    int after = 0;
    std::thread worker([&] {
        before = nicenessOf(gettid());
        db::lowerCurrentThreadPriority();
        after = nicenessOf(gettid());
    });
    worker.join();
    EXPECT_EQ(before, callerBefore);
    EXPECT_GT(after, before);
    EXPECT_EQ(nicenessOf(gettid()), callerBefore);

    // A thread started afterwards begins at the caller's priority again.
    int fresh = 0;
    std::thread([&] { fresh = nicenessOf(gettid()); }).join();
    EXPECT_EQ(fresh, callerBefore);
}

TEST(ThreadPriority, LoweringTwiceStaysWithinTheLowest) {
    int after = 0;
    std::thread([&] {
        for (int i = 0; i < 4; ++i) db::lowerCurrentThreadPriority();
        after = nicenessOf(gettid());
    }).join();
    EXPECT_EQ(after, 19);
}

#elif defined(_WIN32)

TEST(ThreadPriority, LowersTheCallingThreadAndNoOther) {
    const int callerBefore = GetThreadPriority(GetCurrentThread());
    int after = 0;
    std::thread([&] {
        db::lowerCurrentThreadPriority();
        after = GetThreadPriority(GetCurrentThread());
    }).join();
    EXPECT_LT(after, callerBefore);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), callerBefore);
}

#endif

}  // namespace
}  // namespace dorvane::testing
