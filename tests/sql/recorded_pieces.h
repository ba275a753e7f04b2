#pragma once
// A runner for the statement builders that notes every piece, in the order they run, as
// a command's procedure would number them.

#include <variant>
#include <vector>

#include "sql/statement_pieces.h"

namespace dorvane {

template <class Rule>
struct RecordedPieces {
    using Piece = std::variant<sql::ColumnPiece, sql::ColumnAppend<Rule>, sql::InsertPiece>;
    std::vector<Piece> pieces;
    template <class At, class Body>
    bool step(At at, Body&& body) {
        pieces.push_back(at);
        body();
        return true;
    }
    void letEventsRun() {}
};

}  // namespace dorvane
