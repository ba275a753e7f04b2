#pragma once

#include "expression.hpp"
#include "sql_types.hpp"

#include <optional>
#include <string>

namespace standin {

// The value of a SELECT list expression.
struct ScalarValue {
    DeclaredType type;  // for a sql_variant, the type of the value it holds
    bool isVariant = false;
    std::optional<std::string> text;  // as PostgreSQL writes the value; nothing for NULL
};

// Evaluates the built-in functions the stand-in knows (DB_NAME, DATABASEPROPERTYEX,
// COLLATIONPROPERTY, XACT_STATE) and CONVERT, raising SQL Server's errors for misuse.
// `inTransaction`: the session is inside BEGIN TRAN.
ScalarValue evaluate(const Expression& e, const std::string& database, bool inTransaction);

}  // namespace standin
