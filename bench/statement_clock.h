#pragma once
// Time spent waiting on a server: with an ODBC statement in flight, from its handle's
// allocation to its release (running, and reading its rows when it has some), and
// while connecting. The benchmark is linked with those calls wrapped (-Wl,--wrap), so
// the database layer is measured as it is, unchanged.

#include <chrono>

namespace dorvane::bench {

using Clock = std::chrono::steady_clock;

// Total time with a statement in flight since the program started, including the one
// in flight now.
Clock::duration statementTime();
// The longest single statement since the last reset.
Clock::duration longestStatement();
void resetLongestStatement();

}  // namespace dorvane::bench
