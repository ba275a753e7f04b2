#pragma once
// The while-waiting function of a session with a server (an ODBC connection, a libpq copy
// session): it serves the calls of the thread that set it, each then run on a thread of its
// own (waiting_call.h) while that thread takes turns. Calls from other threads, and every
// call while none is set, run where they are made.

#include <stdexcept>
#include <thread>
#include <utility>

#include "core/raised_flag.h"
#include "db/odbc/waiting_call.h"

namespace dorvane::db {

class WhileWaitingHook {
  public:
    void set(WhileWaiting whileWaiting) {
        whileWaiting_ = std::move(whileWaiting);
        thread_ = std::this_thread::get_id();
    }

    // The function when calls of this thread have one, else empty.
    WhileWaiting here() const {
        if (!whileWaiting_ || std::this_thread::get_id() != thread_) return {};
        return whileWaiting_;
    }

    // True while a call of this thread runs elsewhere and the function takes its turns.
    bool underWay() const { return underWay_; }

    // Runs `call`, which may wait on the server, as set() says; `cancel` cuts it short when
    // a turn throws (waiting_call.h).
    template <class Call>
    auto run(Call&& call, const CancelCall& cancel = {}) {
        const WhileWaiting whileWaiting = here();
        if (!whileWaiting) return call();
        // What runs while waiting must not use the session: its handles serve one call.
        if (underWay_) throw std::logic_error("The connection is still waiting on its server.");
        const core::RaisedFlag marked(underWay_);
        return callWhileWaiting(call, whileWaiting, cancel);
    }

  private:
    WhileWaiting whileWaiting_;
    std::thread::id thread_;  // the thread whose calls have whileWaiting_
    bool underWay_ = false;
};

}  // namespace dorvane::db
