#pragma once
// Lets a thread that only prepares work for another give way to it when both want the
// processor, where giving way is wanted.

namespace dorvane::db {

// How the thread reading ahead shares the processor with the thread taking its rows.
enum class ReaderPriority {
    // Gives way: the rows are taken one by one, each waiting on a server, and that work
    // goes first.
    BelowCaller,
    // As the caller's: the rows are taken as fast as they come, so the reading is what
    // the caller waits for; below, it would starve whenever other programs are busy.
    AsCaller,
};

// Lowers the calling thread's scheduling priority below that of the process's other
// threads; they keep theirs. Best effort: where the platform does not allow it, the
// thread goes on at its priority.
void lowerCurrentThreadPriority();

}  // namespace dorvane::db
