#pragma once
// A runner for the statement builders that notes the line of every piece and test, in
// the order they run, as a command's procedure would number them.

#include <vector>

namespace dorvane {

struct RecordedPieces {
    std::vector<int> lines;
    template <class Piece>
    bool step(int line, Piece&& piece) {
        lines.push_back(line);
        piece();
        return true;
    }
    template <class Condition>
    bool test(int line, Condition&& condition) {
        lines.push_back(line);
        return static_cast<bool>(condition());
    }
    void letEventsRun() {}
};

}  // namespace dorvane
