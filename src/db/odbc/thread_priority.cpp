#include "db/odbc/thread_priority.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#endif

namespace dorvane::db {

#if defined(_WIN32)

void lowerCurrentThreadPriority() {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

#elif defined(__linux__)

namespace {
// Ten steps of niceness: where it competes with a normal thread for one processor, the
// thread gets about a tenth of it, and a waking normal thread takes the processor at once.
constexpr int kStepsLower = 10;
constexpr int kLowestNiceness = 19;
}  // namespace

void lowerCurrentThreadPriority() {
    // Niceness is a thread's own on Linux, addressed by the thread's id.
    const auto thread = static_cast<id_t>(gettid());
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, thread);
    if (errno != 0) return;
    setpriority(PRIO_PROCESS, thread, std::min(niceness + kStepsLower, kLowestNiceness));
}

#else

void lowerCurrentThreadPriority() {}

#endif

}  // namespace dorvane::db
