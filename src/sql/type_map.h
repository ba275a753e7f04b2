#pragma once
// What becomes of one source type on one target: the column type the copy writes, how
// it writes the values, and what the customization dialog proposes. Each target has a
// table of its own (postgres_type_map.h, sqlserver_type_map.h); the copy and the dialog
// were written apart and disagree in places, which the tables keep side by side.

#include <QStringView>
#include <cstdint>
#include <span>

#include "db/values/ado_type.h"

namespace dorvane::sql {

enum class ProposalRule : std::uint8_t {
    Fixed,        // the text as it stands
    SampledText,  // sized from the first row; the text is the long-text type
    ExactNumber,  // the text followed by the column's own "(precision,scale)"
};

struct Proposal {
    ProposalRule rule;
    const char* text;
};

constexpr Proposal fixed(const char* text) {
    return {ProposalRule::Fixed, text};
}
constexpr Proposal sampled(const char* longText) {
    return {ProposalRule::SampledText, longText};
}
constexpr Proposal exact(const char* name) {
    return {ProposalRule::ExactNumber, name};
}

// How the copy writes a column's values into its INSERT statements.
enum class Values : std::uint8_t { Quoted, Unquoted };

struct TypeMapRow {
    db::AdoType source;
    const char* copyColumn;  // as the copy writes it; "(p,s)" stands for the source's size
    Values values;
    Proposal proposal;
};

// One target's rules, which the copy tests in turn, and its table.
template <class Rule>
struct TargetTypes {
    std::span<const Rule> rules;
    const Rule& fallback;  // taken when no rule holds
    std::span<const TypeMapRow> rows;
    const TypeMapRow& other;  // for a number no row names

    // The copy's choice: the first rule whose text the lower-cased ADO type name
    // contains, else the fallback.
    const Rule& ruleFor(QStringView lowerTypeName) const {
        for (const Rule& rule : rules)
            if (lowerTypeName.contains(QStringView(rule.contained))) return rule;
        return fallback;
    }

    const TypeMapRow& rowFor(db::AdoType source) const {
        for (const TypeMapRow& row : rows)
            if (row.source == source) return row;
        return other;
    }
};

// The copy's way into one target's rules, for its header to name as columnRules(),
// fallbackRule() and ruleFor(); `table` is the target's targetTypes().
template <class Rule, const TargetTypes<Rule>& (*table)()>
struct RulesOf {
    // The tests in the order they are made.
    static std::span<const Rule> columnRules() { return table().rules; }
    static const Rule& fallbackRule() { return table().fallback; }
    static const Rule& ruleFor(QStringView lowerTypeName) { return table().ruleFor(lowerTypeName); }
};

}  // namespace dorvane::sql
