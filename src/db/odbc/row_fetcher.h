#pragma once
// Takes a statement's rows one by one into a RowBuffer. Where the driver allows, the rows
// come a block at a time into column-wise bound arrays: one driver call a block for the
// values of a fixed-size form (numbers, dates, digits), instead of one a value.
// psqlODBC lets SQLGetData read any column of any row of a block, so its other values
// (texts, bytes) are still read one by one, and so is a bound value longer than its array
// holds (a numeric of unbounded precision). FreeTDS allows neither, so with it blocks
// serve only results whose every column is of a fixed-size form.

#include <sql.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "db/odbc/ado_types.h"
#include "db/odbc/column_fetcher.h"
#include "db/odbc/row_buffer.h"

namespace dorvane::db {

class RowFetcher {
  public:
    static constexpr SQLULEN kBlockRows = 256;
    // Room for the text of a value of a bounded text form: a decimal of 38 digits, a
    // datetimeoffset, a PostgreSQL timestamp with its era.
    static constexpr std::size_t kNarrowBytes = 64;

    // `connection` is the statement's: its driver says what SQLGetData allows. The statement
    // is not fetched from after the fetcher has gone: its arrays stay bound.
    RowFetcher(SQLHDBC connection, SQLHSTMT statement, std::vector<FetchKind> kinds);
    RowFetcher(const RowFetcher&) = delete;
    RowFetcher& operator=(const RowFetcher&) = delete;

    // Appends the next row to `out` and gives its size there; nothing after the last row.
    // `windowRows`, when not 0, is the most rows the driver holds at once (FetchWindow):
    // a block takes no more.
    std::optional<std::size_t> fetchRow(RowBuffer& out, std::int32_t windowRows = 0);

    bool inBlocks() const { return inBlocks_; }

  private:
    struct BoundColumn {
        FetchForm form{};
        std::size_t width = 0;  // bytes of one row's value
        std::vector<unsigned char> values;
        std::vector<SQLLEN> indicators;
    };

    void bind();
    bool fetchBlock(std::int32_t windowRows);
    void appendBound(std::size_t column, SQLULEN row, RowBuffer& out);
    // Makes `row` of the block the one SQLGetData reads.
    void position(SQLULEN row);

    SQLHSTMT statement_;
    std::vector<FetchKind> kinds_;
    ColumnFetcher perValue_;
    bool anyColumnOfABlock_ = false;  // SQLGetData may read any column of any row of a block
    bool inBlocks_ = false;
    std::vector<std::optional<BoundColumn>> bound_;  // per column; empty when read per value
    std::vector<SQLUSMALLINT> rowStatus_;
    SQLULEN arraySize_ = 1;
    SQLULEN fetched_ = 0;  // rows in the block, written by the driver
    SQLULEN next_ = 0;
    SQLULEN positioned_ = 0;  // 1 + the row positioned at; 0 for none
};

}  // namespace dorvane::db
