#pragma once

#include "bulk_message_reader.hpp"
#include "sql_types.hpp"

#include <optional>
#include <string>

namespace standin {

// One column of a bulk load's COLMETADATA: the type its values travel as.
struct BulkColumn {
    std::string name;
    uint8_t tdsType = 0;
    uint32_t size = 0;  // the TYPE_INFO length, kPlpMarker for (max) types
    int precision = 0;
    int scale = 0;
    bool isPlp() const;
};

// Reads one column definition of COLMETADATA (after the count).
BulkColumn readBulkColumn(BulkMessageReader& in);

// Reads one value of a ROW and returns it in the PostgreSQL text form the stand-in stores
// for the column type, nothing for NULL. Raises SqlError for a value the column cannot
// take; `ordinal` (from 1) names the column as SQL Server's messages do.
std::optional<std::string> readBulkValue(BulkMessageReader& in, const BulkColumn& wire,
                                         const DeclaredType& column, size_t ordinal);

}  // namespace standin
