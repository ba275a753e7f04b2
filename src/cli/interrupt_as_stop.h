#pragma once
// Ctrl-C while a command runs: the first asks it to stop where its data is whole, as Esc
// does in the window (a row-by-row copy after its current row, a fast copy by rolling its
// table back); a second ends the program at once.

namespace dorvane::cli {

class InterruptAsStop {
  public:
    InterruptAsStop();
    ~InterruptAsStop();
    InterruptAsStop(const InterruptAsStop&) = delete;
    InterruptAsStop& operator=(const InterruptAsStop&) = delete;

    // True once after a Ctrl-C.
    bool takeRequest();
};

}  // namespace dorvane::cli
