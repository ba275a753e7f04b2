#pragma once

#include "literal.hpp"
#include "sql_types.hpp"

#include <optional>
#include <string>

namespace standin {

// Converts a literal to a value of the column type the way SQL Server's implicit
// conversion does (rounding, padding, code page 1252), raising SQL Server's errors.
// The result is the PostgreSQL text form of the stored value, or nothing for NULL.
// A scaled integer as decimal text, e.g. -1234 at scale 2 as "-12.34".
std::string formatScaled(__int128 value, int scale);
// Bytes in PostgreSQL's bytea hex form.
std::string hexText(const std::string& bytes);

std::optional<std::string> convertLiteral(const Literal& literal, const DeclaredType& column);

}  // namespace standin
