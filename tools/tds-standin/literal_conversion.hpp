#pragma once

#include "literal.hpp"
#include "sql_types.hpp"

#include <optional>
#include <string>

namespace standin {

// Converts a literal to a value of the column type the way SQL Server's implicit
// conversion does (rounding, padding, code page 1252), raising SQL Server's errors.
// The result is the PostgreSQL text form of the stored value, or nothing for NULL.
std::optional<std::string> convertLiteral(const Literal& literal, const DeclaredType& column);

}  // namespace standin
