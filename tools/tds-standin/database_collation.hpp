#pragma once

#include <array>
#include <cstdint>

namespace standin {

// The collation of every stand-in database, and so of every character column: varchar and
// char keep code page 1252, as on a SQL Server installed with the usual Latin-1 default.
struct DatabaseCollation {
    const char* name;
    int codePage;
    // As TDS sends it: LCID 0x0409, case-, kana- and width-insensitive, SQL sort order 52.
    std::array<uint8_t, 5> tdsBytes;
};

inline constexpr DatabaseCollation kDatabaseCollation = {
    "SQL_Latin1_General_CP1_CI_AS", 1252, {0x09, 0x04, 0xD0, 0x00, 0x34}};

}  // namespace standin
