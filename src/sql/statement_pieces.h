#pragma once
// Statements built piece by piece. A command runs every piece as a numbered step of its
// procedure, so that a failing piece is reported at its own line and the statement so
// far shows in the report; every other caller runs the same builder with PiecesAtOnce.
//
// A builder's `steps` gives step(line, piece) and test(line, condition) as Procedure
// does, and letEventsRun(), which a long statement calls between columns.

#include <QString>
#include <QStringView>
#include <span>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/type_names.h"

namespace dorvane::sql {

// Runs each piece straight away; a failure is thrown to the caller.
struct PiecesAtOnce {
    template <class Piece>
    bool step(int, Piece&& piece) const {
        piece();
        return true;
    }
    template <class Condition>
    bool test(int, Condition&& condition) const {
        return static_cast<bool>(condition());
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

// The lines of a column list's own pieces; each type rule brings the lines of its test
// and its append, in the copy of the list that `ruleLines` names.
template <class Rule, class RuleLines>
struct ColumnListLines {
    int fieldCount = 0, events = 0, field = 0, typeName = 0, dropComma = 0, close = 0;
    RuleLines Rule::*ruleLines = nullptr;
};

// The column list of a CREATE TABLE: for each field, the first rule whose text the
// lower-cased ADO type name contains (else `fallback`) is handed to appendColumn(index,
// field, rule, its lines); then the comma after the last column gives way to `end`.
template <class Rule, class RuleLines, class Steps, class Fields, class AppendColumn>
void appendColumnList(QString& sql, const Fields& fields, Steps& steps,
                      const ColumnListLines<Rule, RuleLines>& lines, std::span<const Rule> rules,
                      const Rule& fallback, QStringView end, AppendColumn&& appendColumn) {
    int fieldCount = 0;
    steps.step(lines.fieldCount, [&] { fieldCount = fields.fieldCount(); });
    for (int i = 0; i < fieldCount; ++i) {
        steps.step(lines.events, [&] { steps.letEventsRun(); });
        db::FieldInfo field;
        steps.step(lines.field, [&] { field = fields.field(i); });
        QString typeName;
        steps.step(lines.typeName, [&] { typeName = db::adoTypeName(field.adoType).toLower(); });
        const Rule* chosen = &fallback;
        for (const Rule& rule : rules) {
            if (steps.test((rule.*lines.ruleLines).test,
                           [&] { return typeName.contains(QStringView(rule.contained)); })) {
                chosen = &rule;
                break;
            }
        }
        appendColumn(i, field, *chosen, chosen->*lines.ruleLines);
    }
    steps.step(lines.dropComma, [&] { sql.chop(1); });
    steps.step(lines.close, [&] { sql += end; });
}

// The lines of an INSERT's pieces. A command's row reads each value with steps of its own.
struct InsertLines {
    int start = 0, fieldCount = 0, events = 0, append = 0, close = 0;
};

// The values of an INSERT, after its start: appendValue(index, value) for each value of
// `row`, which gives fieldCount() and value(index).
template <class Steps, class Row, class AppendValue>
void appendRowValues(Row& row, Steps& steps, const InsertLines& lines, AppendValue&& appendValue) {
    int fieldCount = 0;
    steps.step(lines.fieldCount, [&] { fieldCount = row.fieldCount(); });
    for (int j = 0; j < fieldCount; ++j) {
        steps.step(lines.events, [&] { steps.letEventsRun(); });
        const db::Value& value = row.value(j);
        steps.step(lines.append, [&] { appendValue(j, value); });
    }
}

}  // namespace dorvane::sql
