#pragma once
// The types of a copy from PostgreSQL to SQL Server: the rules the copy tests in turn,
// and the table of what each source type becomes.

#include <QStringView>
#include <span>

#include "db/values/ado_type.h"
#include "sql/type_map.h"

namespace dorvane::sql::to_sqlserver {

// The lines of one type rule in one copy of the column list.
struct RuleLines {
    int test;
    int append;
};

// One type test of the column list: the first rule whose text the lower-cased ADO type
// name contains chooses the column type. The command builds the column list in two
// places, each with lines of its own: without the customization dialog, and after the
// dialog left the statement as it was.
struct ColumnRule {
    const char16_t* contained;  // null for the fallback
    const char16_t* fragment;   // appended after "[" and the column name
    bool exact;                 // the fragment is followed by "(precision,scale),"
    RuleLines automatic;
    RuleLines customized;
};

// The rules and, for every named ADO type, a row of what they choose for it, side by
// side with the dialog's proposal. Every value is quoted on SQL Server.
const TargetTypes<ColumnRule>& targetTypes();

using Rules = RulesOf<ColumnRule, targetTypes>;
inline constexpr auto& columnRules = Rules::columnRules;
inline constexpr auto& fallbackRule = Rules::fallbackRule;
inline constexpr auto& ruleFor = Rules::ruleFor;

}  // namespace dorvane::sql::to_sqlserver
