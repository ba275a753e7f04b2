#pragma once

#include "byte_buffer.hpp"
#include "sql_types.hpp"

#include <cstddef>
#include <string_view>

namespace standin {

// Writes one column of a ROW token from the PostgreSQL text form of the stored value
// (null for NULL). Long types are cut to textSize bytes, as SET TEXTSIZE asks.
void writeColumnValue(ByteWriter& out, const DeclaredType& t, const char* backendText,
                      size_t textSize);

}  // namespace standin
