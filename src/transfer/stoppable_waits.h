#pragma once
// Waits on a server that a stop cuts short. While a step of a fast copy runs, the turn taken
// while one of its calls waits throws StoppedWhileWaiting once the user has asked to stop; the
// connection then cancels the call (db/odbc/waiting_call.h) and the copy rolls the table back, as
// after a stop between rows. Elsewhere a stop is noticed between rows and tables, as before.

#include <stdexcept>

#include "core/raised_flag.h"
#include "transfer/command_context.h"

namespace dorvane::transfer {

// Not a failure: the user stopped the copy while it waited.
class StoppedWhileWaiting : public std::runtime_error {
  public:
    StoppedWhileWaiting() : std::runtime_error("The copy was stopped while it waited.") {}
};

class StoppableWaits {
  public:
    explicit StoppableWaits(const StopRequest& stop) : stop_(stop) {}

    // A turn taken while a call waits: throws once a stop has been asked for inside during().
    void check() {
        if (!armed_ || !stop_.requested()) return;
        armed_ = false;  // the waits that follow, for the cancelled call among them, go on
        throw StoppedWhileWaiting();
    }

    // Runs `body` with its waits stoppable; false when a stop cut one of them short.
    template <class Body>
    bool during(Body&& body) {
        const core::RaisedFlag armed(armed_);
        try {
            body();
        } catch (const StoppedWhileWaiting&) {
            return false;
        }
        return true;
    }

  private:
    const StopRequest& stop_;
    bool armed_ = false;
};

}  // namespace dorvane::transfer
