#include "statement_clock.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include <ctime>

namespace dorvane::bench {
namespace {

// The wrapped entry points carry no context, so their clock lives here. Only the thread
// that started the program (the one running the commands) touches it.
struct Waiting {
    std::thread::id commandThread = std::this_thread::get_id();
    bool inside = false;
    Clock::time_point since{};
    Clock::duration total{};
    Clock::duration longest{};
};

Waiting& waiting() {
    static Waiting state;
    return state;
}

// Times one call when it is made on the command's thread.
class CallTimer {
  public:
    CallTimer() {
        Waiting& w = waiting();
        counted_ = std::this_thread::get_id() == w.commandThread && !w.inside;
        if (!counted_) return;
        w.inside = true;
        w.since = Clock::now();
    }
    ~CallTimer() {
        if (!counted_) return;
        Waiting& w = waiting();
        const Clock::duration spent = Clock::now() - w.since;
        w.total += spent;
        w.longest = std::max(w.longest, spent);
        w.inside = false;
    }
    CallTimer(const CallTimer&) = delete;
    CallTimer& operator=(const CallTimer&) = delete;

  private:
    bool counted_ = false;
};

std::chrono::nanoseconds threadProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Written by whichever thread sends the INSERTs (one at a time) and read between runs.
std::mutex insertsLock;
InsertTimeline inserts;

bool isInsert(const SQLWCHAR* text, SQLINTEGER length) {
    static constexpr char kInsert[] = "INSERT";
    for (int i = 0; i < 6; ++i)
        if ((length != SQL_NTS && i >= length) || text[i] != static_cast<SQLWCHAR>(kInsert[i]))
            return false;
    return true;
}

}  // namespace

InsertTimeline insertTimeline() {
    const std::lock_guard lock(insertsLock);
    return inserts;
}

void resetInsertTimeline() {
    const std::lock_guard lock(insertsLock);
    inserts = {};
}

Clock::duration statementTime() {
    const Waiting& w = waiting();
    return w.total + (w.inside ? Clock::now() - w.since : Clock::duration{});
}

Clock::duration longestStatement() {
    return waiting().longest;
}

void resetLongestStatement() {
    waiting().longest = {};
}

}  // namespace dorvane::bench

using dorvane::bench::CallTimer;

extern "C" {
SQLRETURN __real_SQLDriverConnectW(SQLHDBC, SQLHWND, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT,
                                   SQLSMALLINT*, SQLUSMALLINT);
SQLRETURN __real_SQLDisconnect(SQLHDBC);
SQLRETURN __real_SQLExecDirectW(SQLHSTMT, SQLWCHAR*, SQLINTEGER);
SQLRETURN __real_SQLFetch(SQLHSTMT);
SQLRETURN __real_SQLGetData(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*);
SQLRETURN __real_SQLMoreResults(SQLHSTMT);
SQLRETURN __real_SQLFreeHandle(SQLSMALLINT, SQLHANDLE);
SQLRETURN __real_SQLEndTran(SQLSMALLINT, SQLHANDLE, SQLSMALLINT);
SQLRETURN __real_SQLSetConnectAttrW(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER);
SQLRETURN __real_SQLTablesW(SQLHSTMT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*,
                            SQLSMALLINT, SQLWCHAR*, SQLSMALLINT);

SQLRETURN __wrap_SQLDriverConnectW(SQLHDBC dbc, SQLHWND window, SQLWCHAR* in, SQLSMALLINT inLength,
                                   SQLWCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                   SQLUSMALLINT completion) {
    CallTimer timer;
    return __real_SQLDriverConnectW(dbc, window, in, inLength, out, outMax, outLength, completion);
}

SQLRETURN __wrap_SQLDisconnect(SQLHDBC dbc) {
    CallTimer timer;
    return __real_SQLDisconnect(dbc);
}

SQLRETURN __wrap_SQLExecDirectW(SQLHSTMT statement, SQLWCHAR* text, SQLINTEGER length) {
    using namespace dorvane::bench;
    CallTimer timer;
    if (!isInsert(text, length)) return __real_SQLExecDirectW(statement, text, length);
    const std::chrono::nanoseconds processorBefore = threadProcessorTime();
    const Clock::time_point began = Clock::now();
    const SQLRETURN rc = __real_SQLExecDirectW(statement, text, length);
    const Clock::time_point ended = Clock::now();
    const std::chrono::nanoseconds processor = threadProcessorTime() - processorBefore;
    const std::lock_guard lock(insertsLock);
    inserts.processor += processor;
    if (inserts.count++ == 0) inserts.firstBegan = began;
    inserts.inside += ended - began;
    inserts.lastEnded = ended;
    return rc;
}

SQLRETURN __wrap_SQLFetch(SQLHSTMT statement) {
    CallTimer timer;
    return __real_SQLFetch(statement);
}

SQLRETURN __wrap_SQLGetData(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT type,
                            SQLPOINTER value, SQLLEN size, SQLLEN* length) {
    CallTimer timer;
    return __real_SQLGetData(statement, column, type, value, size, length);
}

SQLRETURN __wrap_SQLMoreResults(SQLHSTMT statement) {
    CallTimer timer;
    return __real_SQLMoreResults(statement);
}

SQLRETURN __wrap_SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    CallTimer timer;
    return __real_SQLFreeHandle(type, handle);
}

SQLRETURN __wrap_SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion) {
    CallTimer timer;
    return __real_SQLEndTran(type, handle, completion);
}

SQLRETURN __wrap_SQLSetConnectAttrW(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER length) {
    CallTimer timer;
    return __real_SQLSetConnectAttrW(dbc, attribute, value, length);
}

SQLRETURN __wrap_SQLTablesW(SQLHSTMT statement, SQLWCHAR* catalog, SQLSMALLINT catalogLength,
                            SQLWCHAR* schema, SQLSMALLINT schemaLength, SQLWCHAR* table,
                            SQLSMALLINT tableLength, SQLWCHAR* type, SQLSMALLINT typeLength) {
    CallTimer timer;
    return __real_SQLTablesW(statement, catalog, catalogLength, schema, schemaLength, table,
                             tableLength, type, typeLength);
}
}
