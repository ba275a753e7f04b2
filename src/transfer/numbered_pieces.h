#pragma once
// A statement's pieces (see sql/statement_pieces.h) as numbered steps of a command: the
// lines of each builder's pieces, which a command's table gives (transfer_directions.h),
// and the runner that takes each piece as a step at its line.

#include <array>
#include <cstddef>
#include <utility>

#include "core/event_yield.h"
#include "core/procedure.h"
#include "sql/statement_pieces.h"

namespace dorvane::transfer {

// The lines of a column list's pieces in one place of one command: its own, and the
// append of each type rule, in the rules' order (`Rule`, sql's TypeRule).
template <class Rule, std::size_t kRules>
struct ColumnListLines {
    int fieldCount, events, field, dropComma, close;
    std::array<int, kRules> append;

    int at(sql::ColumnPiece piece) const {
        switch (piece) {
            case sql::ColumnPiece::FieldCount:
                return fieldCount;
            case sql::ColumnPiece::Events:
                return events;
            case sql::ColumnPiece::Field:
                return field;
            case sql::ColumnPiece::DropComma:
                return dropComma;
            case sql::ColumnPiece::Close:
                return close;
        }
        return fieldCount;  // not reached
    }
    int at(sql::ColumnAppend<Rule> piece) const {
        return append[static_cast<std::size_t>(piece.rule)];
    }
};

// The lines of an INSERT's pieces.
struct InsertLines {
    int start, fieldCount, events, append, close;

    int at(sql::InsertPiece piece) const {
        switch (piece) {
            case sql::InsertPiece::Start:
                return start;
            case sql::InsertPiece::FieldCount:
                return fieldCount;
            case sql::InsertPiece::Events:
                return events;
            case sql::InsertPiece::Append:
                return append;
            case sql::InsertPiece::Close:
                return close;
        }
        return start;  // not reached
    }
};

// A command's procedure as the runner of a statement's pieces (see statement_pieces.h):
// each piece is a step at the line `lines` gives it (lines.at(piece)).
template <class Lines>
class NumberedPieces {
  public:
    NumberedPieces(core::Procedure& procedure, core::EventYield& yield, const Lines& lines)
        : p_(procedure), yield_(yield), lines_(lines) {}
    template <class At, class Piece>
    bool step(At at, Piece&& piece) {
        return p_.step(lines_.at(at), std::forward<Piece>(piece));
    }
    void letEventsRun() { yield_.whenDue(); }

  private:
    core::Procedure& p_;
    core::EventYield& yield_;
    const Lines& lines_;
};

}  // namespace dorvane::transfer
