#pragma once

#include "statements.hpp"

#include <string>
#include <vector>

namespace standin {

// Parses a batch of the T-SQL subset the stand-in executes. Anything else raises
// error 102 naming the offending token and quoting the statement.
std::vector<Statement> parseBatch(const std::string& sql);

}  // namespace standin
