#pragma once
// Time the command's thread spends waiting on a server: inside the ODBC calls that can
// wait on one (connecting, running a statement, fetching, reading a value, ending a
// transaction, releasing a statement). Calls made on other threads, such as reading rows
// ahead, do not count: the command's thread is free meanwhile. The benchmark is linked
// with those calls wrapped (-Wl,--wrap), so the database layer is measured as it is.

#include <chrono>

namespace dorvane::bench {

using Clock = std::chrono::steady_clock;

// Total time inside such calls on the command's thread since the program started,
// including a call under way.
Clock::duration statementTime();
// The longest single call since the last reset.
Clock::duration longestStatement();
void resetLongestStatement();

// The INSERT statements run on any thread since the last reset: how many, their time
// inside the driver, and when the first began and the last ended.
struct InsertTimeline {
    long count = 0;
    Clock::duration inside{};
    // The sending threads' own processor time inside them: the driver's work on the
    // statement, apart from the wait for the server.
    std::chrono::nanoseconds processor{};
    Clock::time_point firstBegan{};
    Clock::time_point lastEnded{};
};
InsertTimeline insertTimeline();
void resetInsertTimeline();

}  // namespace dorvane::bench
