#pragma once
// A blocking call (a login, a statement, reading rows) run on a thread of its own while
// the calling thread keeps going: it calls a "while waiting" function every few
// milliseconds, an event loop's turn say, until the call is done, and then gets the
// call's result or its exception. A window so goes on repainting and answering while a
// server makes its command wait.

#include <chrono>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace dorvane::db {

// What a caller does while a call waits; empty when it just waits.
using WhileWaiting = std::function<void()>;

// How long the caller waits for the call before each turn of `whileWaiting`.
constexpr std::chrono::milliseconds kWaitSlice{4};

// Runs `call` on a thread of its own and calls `whileWaiting` on this thread after each
// `slice` at whose end the call was still under way; then throws what the call threw. Without
// `whileWaiting`, runs `call` on this thread. When `whileWaiting` throws, the call is still waited
// for before that is thrown: it may use what the caller holds.
void runWhileWaiting(const std::function<void()>& call, const WhileWaiting& whileWaiting,
                     std::chrono::milliseconds slice = kWaitSlice);

// The same for a call with a result.
template <class Call>
std::invoke_result_t<Call&> callWhileWaiting(Call&& call, const WhileWaiting& whileWaiting) {
    using Result = std::invoke_result_t<Call&>;
    if (!whileWaiting) return call();
    if constexpr (std::is_void_v<Result>) {
        runWhileWaiting([&] { call(); }, whileWaiting);
    } else {
        std::optional<Result> result;
        runWhileWaiting([&] { result.emplace(call()); }, whileWaiting);
        return std::move(*result);
    }
}

}  // namespace dorvane::db
