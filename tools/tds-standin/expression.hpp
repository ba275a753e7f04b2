#pragma once

#include "literal.hpp"
#include "sql_types.hpp"

#include <string>
#include <vector>

namespace standin {

// A scalar expression of a SELECT list: a constant, a built-in function call, or
// CONVERT(type, expression).
struct Expression {
    enum class Kind { Constant, Function, Convert };
    Kind kind = Kind::Constant;
    Literal constant;
    std::string function;  // lower case
    DeclaredType target;   // of CONVERT
    std::vector<Expression> arguments;
};

}  // namespace standin
