#pragma once

#include "literal.hpp"
#include "statements.hpp"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// Arguments by parameter name, positional ones named after the procedure's signature;
// raises 8145 for a name the signature lacks.
std::map<std::string, Literal> namedArguments(const ProcedureCall& c,
                                              const std::vector<std::string>& signature);

// The text of an argument; nothing when it is absent or NULL.
std::optional<std::string> textArgument(const std::map<std::string, Literal>& args,
                                        const std::string& name);

// SQL LIKE with % and _, compared case-insensitively as the default collation does; no
// pattern matches everything.
bool like(const std::string& text, const std::optional<std::string>& pattern);

}  // namespace standin
