#pragma once
// Lets a thread that only prepares work for another give way to it when both want the
// processor.

namespace dorvane::db {

// Lowers the calling thread's scheduling priority below that of the process's other
// threads; they keep theirs. Best effort: where the platform does not allow it, the
// thread goes on at its priority.
void lowerCurrentThreadPriority();

}  // namespace dorvane::db
