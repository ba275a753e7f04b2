#pragma once
// Statements built piece by piece. A command runs every piece as a step of its own, so
// that a failing piece is reported where it failed and the statement so far shows in the
// report (docs/error-reports.md); every other caller runs the same builder with
// PiecesAtOnce.
//
// A builder's `steps` gives step(at, piece), where `at` names the piece (a ColumnPiece, a
// ColumnAppend or an InsertPiece) and the command numbers it, and letEventsRun(), which a
// long statement calls between columns.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/type_map.h"

namespace dorvane::sql {

// The pieces of a column list besides its columns.
enum class ColumnPiece : std::uint8_t { FieldCount, Events, Field, DropComma, Close };

// A column's append, at the step of the type rule that chose its type.
template <class Rule>
struct ColumnAppend {
    Rule rule;
    friend bool operator==(const ColumnAppend&, const ColumnAppend&) = default;
};
template <class Rule>
ColumnAppend(Rule) -> ColumnAppend<Rule>;

// The pieces of an INSERT. A command's row reads each value with steps of its own.
enum class InsertPiece : std::uint8_t { Start, FieldCount, Events, Append, Close };

// Runs each piece straight away; a failure is thrown to the caller.
struct PiecesAtOnce {
    template <class At, class Piece>
    bool step(At, Piece&& piece) const {
        piece();
        return true;
    }
    void letEventsRun() const {}
};

// Fields and row values held in memory, read the way a recordset is read.
struct FieldList {
    std::span<const db::FieldInfo> fields;
    int fieldCount() const { return static_cast<int>(fields.size()); }
    const db::FieldInfo& field(int index) const { return fields[index]; }
};
struct RowValues {
    std::span<const db::Value> values;
    int fieldCount() const { return static_cast<int>(values.size()); }
    const db::Value& value(int index) const { return values[index]; }
};

// One flag per column, as far as the last column flagged; a column past it is unflagged.
inline bool isFlagged(const std::vector<bool>& flags, int column) {
    return column >= 0 && column < static_cast<int>(flags.size()) && flags[column];
}
inline void flag(std::vector<bool>& flags, int column) {
    if (column >= static_cast<int>(flags.size())) flags.resize(column + 1, false);
    flags[column] = true;
}

// The column list of a CREATE TABLE: each field's row of `types` (by its ADO type) is
// handed to appendColumn(index, field, its copy column) at the step of the row's rule;
// then the comma after the last column gives way to `end`.
template <class Steps, class Fields, class Copy, class AppendColumn>
void appendColumnList(QString& sql, const Fields& fields, Steps& steps,
                      const TargetTypes<Copy>& types, QStringView end,
                      AppendColumn&& appendColumn) {
    int fieldCount = 0;
    steps.step(ColumnPiece::FieldCount, [&] { fieldCount = fields.fieldCount(); });
    for (int i = 0; i < fieldCount; ++i) {
        steps.step(ColumnPiece::Events, [&] { steps.letEventsRun(); });
        db::FieldInfo field;
        steps.step(ColumnPiece::Field, [&] { field = fields.field(i); });
        const Copy& copy = types.rowFor(field.adoType).copy;
        steps.step(ColumnAppend{copy.rule}, [&] { appendColumn(i, field, copy); });
    }
    steps.step(ColumnPiece::DropComma, [&] { sql.chop(1); });
    steps.step(ColumnPiece::Close, [&] { sql += end; });
}

// The values of an INSERT, after its start: appendValue(index, value) for each value of
// `row`, which gives fieldCount() and value(index).
template <class Steps, class Row, class AppendValue>
void appendRowValues(Row& row, Steps& steps, AppendValue&& appendValue) {
    int fieldCount = 0;
    steps.step(InsertPiece::FieldCount, [&] { fieldCount = row.fieldCount(); });
    for (int j = 0; j < fieldCount; ++j) {
        steps.step(InsertPiece::Events, [&] { steps.letEventsRun(); });
        const db::Value& value = row.value(j);
        steps.step(InsertPiece::Append, [&] { appendValue(j, value); });
    }
}

}  // namespace dorvane::sql
