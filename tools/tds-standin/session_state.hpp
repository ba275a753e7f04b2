#pragma once

#include "statements.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
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

    // The one table whose identity column takes explicit values (SET IDENTITY_INSERT ON).
    struct IdentityInsertTable {
        int64_t tableId = 0;
        std::string qualifiedName;  // database.dbo.table, as messages name it
    };
    std::optional<IdentityInsertTable> identityInsert;
};

}  // namespace standin
