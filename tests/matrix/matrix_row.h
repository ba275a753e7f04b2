#pragma once
// One row of the type matrix: a column type of the source server, values that must
// arrive in the form the target column holds them, and values the copy must refuse with
// a report naming the table, the column and the row.

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
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
    Instant,    // the same instant, in whatever zone PostgreSQL shows it
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
    // With "Natural types", where the natural column holds the values otherwise than the
    // default one (unset: as above).
    std::optional<std::vector<Arrival>> naturalKept = std::nullopt;
    std::optional<std::vector<Refusal>> naturalRefused = std::nullopt;
    std::optional<Compare> naturalCompare = std::nullopt;
};

inline void PrintTo(const MatrixRow& row, std::ostream* out) {
    *out << row.sourceType;
}

// How the command copies: row by row, or each table at once ("Fast copy"); with the default
// column types or with "Natural types".
enum class CopyMode { RowByRow, Fast, Natural, NaturalFast };

inline bool isFast(CopyMode mode) {
    return mode == CopyMode::Fast || mode == CopyMode::NaturalFast;
}
inline bool isNatural(CopyMode mode) {
    return mode == CopyMode::Natural || mode == CopyMode::NaturalFast;
}

inline void PrintTo(CopyMode mode, std::ostream* out) {
    static const char* const kNames[] = {"row by row", "fast", "natural", "natural, fast"};
    *out << kNames[static_cast<int>(mode)];
}

// Every row in every copy mode, named "<label>_<mode>".
using MatrixCase = std::tuple<MatrixRow, CopyMode>;
std::string matrixCaseName(const MatrixCase& matrixCase);

// Copies the row's values from `from` to the other server through the real command and
// checks what arrived and what was refused. Each refused value gets a table of its own,
// after one kept value and before another, so that one refusal hides no other; a fast
// copy then leaves no table at all.
void checkMatrixRow(const MatrixRow& row, Server from, CopyMode mode);

}  // namespace dorvane::testing
