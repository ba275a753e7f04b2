// A blocking call run on a thread of its own while the caller takes turns: the result and
// any exception come back to the caller, the turns run on the caller's thread while the
// call is under way, and the call is waited for whatever happens in a turn.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "db/odbc/waiting_call.h"
#include "db/values/db_error.h"
#include "qstring_printer.h"

namespace dorvane::testing {
namespace {

// A flag one thread raises and another waits for.
class Signal {
  public:
    void raise() {
        std::lock_guard lock(mutex_);
        raised_ = true;
        changed_.notify_all();
    }
    void wait() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return raised_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

TEST(WaitingCall, ResultAndFailureComeBackToTheCaller) {
    const std::thread::id caller = std::this_thread::get_id();
    const db::WhileWaiting turn = [] {};
    std::thread::id ranOn;
    EXPECT_EQ(db::callWhileWaiting(
                  [&] {
                      ranOn = std::this_thread::get_id();
                      return QStringLiteral("answer");
                  },
                  turn),
              QStringLiteral("answer"));
    EXPECT_NE(ranOn, caller);

    try {
        db::callWhileWaiting([]() -> int { throw db::DbError(QStringLiteral("refused")); }, turn);
        ADD_FAILURE() << "nothing was thrown";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.description(), QStringLiteral("refused"));
    }

    // Without turns to take the call runs where it is made.
    db::callWhileWaiting([&] { ranOn = std::this_thread::get_id(); }, {});
    EXPECT_EQ(ranOn, caller);
}

TEST(WaitingCall, TurnsRunOnTheCallersThreadWhileTheCallIsUnderWay) {
    constexpr int kTurns = 3;
    const std::thread::id caller = std::this_thread::get_id();
    int turns = 0;
    bool onCaller = true;
    Signal enoughTurns;
    db::runWhileWaiting([&] { enoughTurns.wait(); },
                        [&] {
                            onCaller = onCaller && std::this_thread::get_id() == caller;
                            if (++turns == kTurns) enoughTurns.raise();
                        });
    // The call could not end before the last of these turns.
    EXPECT_GE(turns, kTurns);
    EXPECT_TRUE(onCaller);
}

TEST(WaitingCall, NoTurnWhenTheCallEndsBeforeTheFirstSlice) {
    int turns = 0;
    db::runWhileWaiting([] {}, [&] { ++turns; }, {}, std::chrono::hours(1));
    EXPECT_EQ(turns, 0);
}

TEST(WaitingCall, ATurnThatThrowsStillWaitsForTheCall) {
    Signal turnFailed;
    bool callEnded = false;
    EXPECT_THROW(db::runWhileWaiting(
                     [&] {
                         turnFailed.wait();
                         callEnded = true;
                     },
                     [&] {
                         turnFailed.raise();
                         throw std::runtime_error("the window went");
                     }),
                 std::runtime_error);
    EXPECT_TRUE(callEnded);
}

// Given up by a turn that throws, the call is cancelled once, from the caller's thread, and
// still waited for; what the turn threw wins over the cancelled call's own failure.
TEST(WaitingCall, ATurnThatThrowsCancelsTheCallOnce) {
    struct GaveUp {};
    const std::thread::id caller = std::this_thread::get_id();
    Signal cancelled;
    int cancels = 0;
    bool cancelledOnCaller = false;
    bool callEnded = false;
    EXPECT_THROW(db::runWhileWaiting(
                     [&] {
                         cancelled.wait();
                         callEnded = true;
                         throw db::DbError(QStringLiteral("Operation canceled"));
                     },
                     [] { throw GaveUp{}; },
                     [&] {
                         ++cancels;
                         cancelledOnCaller = std::this_thread::get_id() == caller;
                         cancelled.raise();
                     }),
                 GaveUp);
    EXPECT_TRUE(callEnded);
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(cancelledOnCaller);
}

}  // namespace
}  // namespace dorvane::testing
