#pragma once

#include <string>

namespace standin {

// A constant in a VALUES list, as written.
struct Literal {
    enum class Kind { Null, String, NationalString, Number, Hex };
    Kind kind = Kind::Null;
    // UTF-8 text of a string, the digits of a number (with sign), or the raw bytes of 0x...
    std::string text;
};

}  // namespace standin
