#pragma once

#include "catalogue.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace standin {

// A column as sp_columns describes it to ODBC clients: one row of its result.
struct ColumnDescription {
    int dataType = 0;  // DATA_TYPE: an ODBC 3 code, or ODBC 2's for date and time with @ODBCVer 2
    std::string typeName;  // TYPE_NAME, "int identity" for an identity column
    std::optional<int64_t> precision;
    std::optional<int64_t> length;
    std::optional<int> scale;
    std::optional<int> radix;
    int sqlDataType = 0;
    std::optional<int> dateTimeSub;
    std::optional<int64_t> charOctetLength;
    int ssDataType = 0;
};

ColumnDescription describeColumn(const CatalogueColumn& column, int odbcVersion);

}  // namespace standin
