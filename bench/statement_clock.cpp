#include "statement_clock.h"

#include <sql.h>

#include <algorithm>
#include <mutex>

extern "C" {
SQLRETURN __real_SQLAllocHandle(SQLSMALLINT type, SQLHANDLE parent, SQLHANDLE* handle);
SQLRETURN __real_SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle);
SQLRETURN __real_SQLDriverConnectW(SQLHDBC dbc, SQLHWND window, SQLWCHAR* in, SQLSMALLINT inLength,
                                   SQLWCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                   SQLUSMALLINT completion);
}

namespace dorvane::bench {
namespace {

// The wrapped ODBC entry points carry no context, so their clock lives here. Rows read
// ahead are read, and their statement released, on a thread of their own.
struct InFlight {
    std::mutex mutex;
    int open = 0;
    Clock::time_point since{};
    Clock::duration total{};
    Clock::duration longest{};
};

InFlight& inFlight() {
    static InFlight state;
    return state;
}

void started() {
    InFlight& s = inFlight();
    std::lock_guard lock(s.mutex);
    if (s.open++ == 0) s.since = Clock::now();
}

void ended() {
    InFlight& s = inFlight();
    std::lock_guard lock(s.mutex);
    if (s.open > 0 && --s.open == 0) {
        const Clock::duration spent = Clock::now() - s.since;
        s.total += spent;
        s.longest = std::max(s.longest, spent);
    }
}

}  // namespace

Clock::duration statementTime() {
    InFlight& s = inFlight();
    std::lock_guard lock(s.mutex);
    return s.total + (s.open > 0 ? Clock::now() - s.since : Clock::duration{});
}

Clock::duration longestStatement() {
    std::lock_guard lock(inFlight().mutex);
    return inFlight().longest;
}

void resetLongestStatement() {
    std::lock_guard lock(inFlight().mutex);
    inFlight().longest = {};
}

}  // namespace dorvane::bench

extern "C" SQLRETURN __wrap_SQLAllocHandle(SQLSMALLINT type, SQLHANDLE parent, SQLHANDLE* handle) {
    const SQLRETURN rc = __real_SQLAllocHandle(type, parent, handle);
    if (type == SQL_HANDLE_STMT && SQL_SUCCEEDED(rc)) dorvane::bench::started();
    return rc;
}

extern "C" SQLRETURN __wrap_SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    const SQLRETURN rc = __real_SQLFreeHandle(type, handle);
    if (type == SQL_HANDLE_STMT) dorvane::bench::ended();
    return rc;
}

extern "C" SQLRETURN __wrap_SQLDriverConnectW(SQLHDBC dbc, SQLHWND window, SQLWCHAR* in,
                                              SQLSMALLINT inLength, SQLWCHAR* out,
                                              SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                              SQLUSMALLINT completion) {
    dorvane::bench::started();
    const SQLRETURN rc =
        __real_SQLDriverConnectW(dbc, window, in, inLength, out, outMax, outLength, completion);
    dorvane::bench::ended();
    return rc;
}
