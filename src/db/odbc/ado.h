#pragma once
// Numbers the commands use as the original database component numbers them.

namespace dorvane::db {

constexpr int kUseServer = 2;  // cursor location
constexpr int kUseClient = 3;
constexpr int kOpenStatic = 3;  // cursor type
constexpr int kLockOptimistic = 3;
constexpr int kSchemaTables = 20;
constexpr int kStateClosed = 0;
constexpr int kStateOpen = 1;

// Used when a caller sets no time-out of its own.
constexpr int kDefaultConnectionTimeout = 15;
constexpr int kDefaultCommandTimeout = 30;

}  // namespace dorvane::db
