#pragma once
// One row of the type matrix: a column type of the source server, values that must
// arrive in the form the target column holds them, and values the copy must refuse with
// a report naming the table, the column and the row.

#include <ostream>
#include <string>
#include <vector>

#include "copy_check.h"

namespace dorvane::testing {

// How an arrived value is held against the expected one.
enum class Compare {
    Exact,      // the same text
    Number,     // the same decimal number: "12.50" is "12.5"
    Float4,     // the same 4-byte float once both are read as one
    Float8,     // the same 8-byte float
    Moment,     // the same text once trailing zeros of the seconds' fraction are dropped
    CaseBlind,  // the same text in any letter case (GUIDs)
};

struct Arrival {
    std::string literal;   // SQL of the source server
    const char* expected;  // nullptr: NULL arrives
};

struct Refusal {
    std::string literal;
    const char* reason = "";  // what the report's reason must mention
    // Refused only when the target database's VARCHAR has this code page; 0: always.
    int codePage = 0;
};

struct MatrixRow {
    const char* label;  // names the test and the source table: letters, digits, '_'
    const char* sourceType;
    Compare compare;
    std::vector<Arrival> kept;
    std::vector<Refusal> refused = {};
};

inline void PrintTo(const MatrixRow& row, std::ostream* out) {
    *out << row.sourceType;
}

// How the command copies: row by row, or each table at once ("Fast copy").
enum class CopyMode { RowByRow, Fast };

// Copies the row's values from `from` to the other server through the real command and
// checks what arrived and what was refused. Each refused value gets a table of its own,
// after one kept value and before another, so that one refusal hides no other; a fast
// copy then leaves no table at all.
void checkMatrixRow(const MatrixRow& row, Server from, CopyMode mode = CopyMode::RowByRow);

}  // namespace dorvane::testing
