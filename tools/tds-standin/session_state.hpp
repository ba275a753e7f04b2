#pragma once

#include <cstddef>
#include <string>

namespace standin {

// Per-connection settings that statements read or change.
struct SessionState {
    static constexpr size_t kUnlimitedTextSize = 2147483647;
    // SET TEXTSIZE 0 restores this default.
    static constexpr size_t kDefaultTextSize = 4096;

    std::string database;  // as the client named it
    std::string userName;
    size_t textSize = kUnlimitedTextSize;
    bool noCount = false;
};

}  // namespace standin
