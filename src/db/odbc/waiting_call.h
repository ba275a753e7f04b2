#pragma once
// A blocking call (a login, a statement, reading rows) run on a thread of its own while
// the calling thread keeps going: it calls a "while waiting" function every few
// milliseconds, an event loop's turn say, until the call is done, and then gets the
// call's result or its exception. A window so goes on repainting and answering while a
// server makes its command wait, and its user can give up the wait: a turn that throws
// cuts the call short where the call can be cancelled.

#include <chrono>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace dorvane::db {

// What a caller does while a call waits; empty when it just waits.
using WhileWaiting = std::function<void()>;
// Cuts short, from the waiting thread, what the call waits for on its server; empty when
// the call cannot be cut short.
using CancelCall = std::function<void()>;

// How long the caller waits for the call before each turn of `whileWaiting`.
constexpr std::chrono::milliseconds kWaitSlice{4};

// Runs `call` on a thread of its own and calls `whileWaiting` on this thread after each
// `slice` at whose end the call was still under way; then throws what the call threw. Without
// `whileWaiting`, runs `call` on this thread. When `whileWaiting` throws, `cancel` (if any) is
// called once and the call is still waited for, without further turns, before that is thrown:
// the call may use what the caller holds. What the call then threw is dropped.
void runWhileWaiting(const std::function<void()>& call, const WhileWaiting& whileWaiting,
                     const CancelCall& cancel = {}, std::chrono::milliseconds slice = kWaitSlice);

// The same for a call with a result.
template <class Call>
std::invoke_result_t<Call&> callWhileWaiting(Call&& call, const WhileWaiting& whileWaiting,
                                             const CancelCall& cancel = {}) {
    using Result = std::invoke_result_t<Call&>;
    if (!whileWaiting) return call();
    if constexpr (std::is_void_v<Result>) {
        runWhileWaiting([&] { call(); }, whileWaiting, cancel);
    } else {
        std::optional<Result> result;
        runWhileWaiting([&] { result.emplace(call()); }, whileWaiting, cancel);
        return std::move(*result);
    }
}

}  // namespace dorvane::db
