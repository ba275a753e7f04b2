#pragma once
// What becomes of one source type on one target: the column the copy writes, and what the
// customization dialog proposes. Each target has one table of its own, keyed by the
// source's ADO type (postgres_type_map.h, sqlserver_type_map.h); the copy and the dialog
// were written apart and disagree in places, which the tables keep side by side.

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

// The column the copy writes for a source type: its type, after the column's name; what
// else the target writes of it (`Detail`, each target's own); and the rule that chose it.
template <class Detail, class Rule>
struct CopyColumnOf {
    const char* type;
    Detail detail;
    Rule rule;
};

// One source type on one target. `Copy` is the target's own description of the column
// the copy writes; what else a target offers for a source type joins the row beside it.
template <class Copy>
struct TypeMapRow {
    db::AdoType source;
    Copy copy;
    Proposal proposal;
};

// One target's table.
template <class Copy>
struct TargetTypes {
    std::span<const TypeMapRow<Copy>> rows;
    const TypeMapRow<Copy>& other;  // for a number no row names

    const TypeMapRow<Copy>& rowFor(db::AdoType source) const {
        for (const TypeMapRow<Copy>& row : rows)
            if (row.source == source) return row;
        return other;
    }
};

}  // namespace dorvane::sql
