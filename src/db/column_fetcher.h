#pragma once
// Reads the values of the current row of a statement with SQLGetData, each column in
// the way its FetchKind says, straight into a RowBuffer. Long values are read in pieces
// until the driver has no more, so nothing is cut.

#include <sql.h>

#include <vector>

#include "db/ado_types.h"
#include "db/row_buffer.h"

namespace dorvane::db {

class ColumnFetcher {
  public:
    ColumnFetcher(SQLHSTMT statement, std::vector<FetchKind> kinds);
    // Returns the row's size in the buffer.
    std::size_t fetchRow(RowBuffer& out);

  private:
    void fetchColumn(SQLUSMALLINT column, FetchKind kind, RowBuffer& out);
    // Reads a whole value as text or bytes into the scratch buffer; false for NULL.
    template <class Unit>
    bool readWhole(SQLUSMALLINT column, SQLSMALLINT cType, std::vector<Unit>& buffer,
                   std::size_t& length);
    template <class T>
    bool readFixed(SQLUSMALLINT column, SQLSMALLINT cType, T& value);

    SQLHSTMT statement_;
    std::vector<FetchKind> kinds_;
    std::vector<char16_t> wide_;       // reused for every text value
    std::vector<char> narrow_;         // reused for digits, times and GUIDs
    std::vector<char> bytes_;          // reused for binary values
    std::vector<char16_t> converted_;  // narrow text widened
};

}  // namespace dorvane::db
