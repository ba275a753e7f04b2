#pragma once

#include "statements.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

namespace standin {

// Per-connection settings that statements read or change.
struct SessionState {
    static constexpr size_t kUnlimitedTextSize = 2147483647;
    // SET TEXTSIZE 0 restores this default.
    static constexpr size_t kDefaultTextSize = 4096;

    std::string database;  // as the client named it
    std::string userName;
    uint16_t processId = 0;  // @@SPID, as messages name the session
    size_t textSize = kUnlimitedTextSize;
    bool noCount = false;
    // Any error rolls the whole explicit transaction back and ends the batch.
    bool xactAbort = false;
    // SET FMTONLY ON: a SELECT describes its columns and returns no rows.
    bool fmtOnly = false;
    IsolationLevel isolationLevel = IsolationLevel::ReadCommitted;
};

}  // namespace standin
