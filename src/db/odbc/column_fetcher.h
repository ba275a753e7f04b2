#pragma once
// Reads the values of the current row of a statement with SQLGetData, each column in
// the way its FetchKind says, straight into a RowBuffer. Long values are read in pieces
// until the driver has no more, so nothing is cut.

#include <sql.h>
#include <sqlext.h>

#include <string_view>
#include <vector>

#include "db/odbc/ado_types.h"
#include "db/odbc/row_buffer.h"

namespace dorvane::db {

// How the driver is asked for a value of a kind: as a C type of a fixed size, or whole
// (text, digits, bytes) when fixedBytes is 0.
struct FetchForm {
    SQLSMALLINT cType;
    std::size_t fixedBytes;
};
FetchForm fetchForm(FetchKind kind);

// A value of a fixed-size form, as the driver writes it.
union FixedValue {
    SQLBIGINT integer;
    SQLDOUBLE real;
    unsigned char bit;
    SQL_DATE_STRUCT date;
    SQL_TIMESTAMP_STRUCT timestamp;
};
void appendFixedValue(FetchKind kind, const FixedValue* value, RowBuffer& out);

class ColumnFetcher {
  public:
    ColumnFetcher(SQLHSTMT statement, std::vector<FetchKind> kinds);
    // Returns the row's size in the buffer.
    std::size_t fetchRow(RowBuffer& out);
    // One value of the current row; columns in ascending order unless the driver allows any.
    void fetchColumn(SQLUSMALLINT column, FetchKind kind, RowBuffer& out);
    // A value of a kind read as narrow text (digits, times, GUIDs), as fetchColumn reads it.
    void appendNarrowText(FetchKind kind, std::string_view text, RowBuffer& out);

  private:
    // Reads a whole value as text or bytes into the scratch buffer; false for NULL.
    template <class Unit>
    bool readWhole(SQLUSMALLINT column, SQLSMALLINT cType, std::vector<Unit>& buffer,
                   std::size_t& length);
    bool readFixed(SQLUSMALLINT column, SQLSMALLINT cType, void* value, std::size_t bytes);

    SQLHSTMT statement_;
    std::vector<FetchKind> kinds_;
    std::vector<char16_t> wide_;       // reused for every text value
    std::vector<char> narrow_;         // reused for digits, times and GUIDs
    std::vector<char> bytes_;          // reused for binary values
    std::vector<char16_t> converted_;  // narrow text widened
};

}  // namespace dorvane::db
