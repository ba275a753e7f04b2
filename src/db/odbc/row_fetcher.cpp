#include "db/odbc/row_fetcher.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

#include "db/odbc/odbc_diagnostics.h"

namespace dorvane::db {
namespace {

constexpr SQLUINTEGER kAnyColumnOfABlock =
    SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK | SQL_GD_BOUND;

SQLUINTEGER getDataExtensions(SQLHDBC connection) {
    SQLUINTEGER extensions = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_GETDATA_EXTENSIONS, &extensions,
                                  sizeof extensions, nullptr)))
        return 0;
    return extensions;
}

bool boundable(FetchKind kind) {
    return kind != FetchKind::Text && kind != FetchKind::Binary;
}

void setAttribute(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value) {
    checkOdbc(SQLSetStmtAttr(statement, attribute, value, 0), SQL_HANDLE_STMT, statement,
              "SQLSetStmtAttr");
}

}  // namespace

RowFetcher::RowFetcher(SQLHDBC connection, SQLHSTMT statement, std::vector<FetchKind> kinds)
    : statement_(statement), kinds_(std::move(kinds)), perValue_(statement, kinds_) {
    anyColumnOfABlock_ = (getDataExtensions(connection) & kAnyColumnOfABlock) == kAnyColumnOfABlock;
    const bool anyBound = std::any_of(kinds_.begin(), kinds_.end(), boundable);
    const bool allBound = std::all_of(kinds_.begin(), kinds_.end(), boundable);
    inBlocks_ = anyBound && (allBound || anyColumnOfABlock_);
    if (inBlocks_) bind();
}

void RowFetcher::bind() {
    setAttribute(statement_, SQL_ATTR_ROW_BIND_TYPE,
                 reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN));
    rowStatus_.resize(kBlockRows);
    setAttribute(statement_, SQL_ATTR_ROW_STATUS_PTR, rowStatus_.data());
    setAttribute(statement_, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_);
    bound_.resize(kinds_.size());
    for (std::size_t c = 0; c < kinds_.size(); ++c) {
        if (!boundable(kinds_[c])) continue;
        BoundColumn& column = bound_[c].emplace();
        column.form = fetchForm(kinds_[c]);
        // Column-wise arrays of a fixed-size type are spaced by the type's own size.
        column.width = column.form.fixedBytes != 0 ? column.form.fixedBytes : kNarrowBytes;
        column.values.resize(column.width * kBlockRows);
        column.indicators.resize(kBlockRows);
        checkOdbc(SQLBindCol(statement_, static_cast<SQLUSMALLINT>(c + 1), column.form.cType,
                             column.values.data(), static_cast<SQLLEN>(column.width),
                             column.indicators.data()),
                  SQL_HANDLE_STMT, statement_, "SQLBindCol");
    }
}

std::optional<std::size_t> RowFetcher::fetchRow(RowBuffer& out, std::int32_t windowRows) {
    if (!inBlocks_) {
        const SQLRETURN rc = SQLFetch(statement_);
        if (rc == SQL_NO_DATA) return std::nullopt;
        checkOdbc(rc, SQL_HANDLE_STMT, statement_, "SQLFetch");
        return perValue_.fetchRow(out);
    }
    if (next_ == fetched_ && !fetchBlock(windowRows)) return std::nullopt;
    const SQLULEN row = next_++;
    // The buffer moves rows to its file only at the end of a row.
    const std::size_t before = out.memoryUsed();
    // Ascending order, as the per-value reading needs where the driver allows no other.
    for (std::size_t c = 0; c < kinds_.size(); ++c) {
        if (bound_[c]) {
            appendBound(c, row, out);
        } else {
            position(row);
            perValue_.fetchColumn(static_cast<SQLUSMALLINT>(c + 1), kinds_[c], out);
        }
    }
    const std::size_t rowBytes = out.memoryUsed() - before;
    out.endRow();
    return rowBytes;
}

bool RowFetcher::fetchBlock(std::int32_t windowRows) {
    const SQLULEN rows = windowRows > 0
                             ? std::min<SQLULEN>(static_cast<SQLULEN>(windowRows), kBlockRows)
                             : kBlockRows;
    if (rows != arraySize_) {
        setAttribute(statement_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rows));
        arraySize_ = rows;
    }
    fetched_ = 0;
    next_ = 0;
    positioned_ = 0;
    const SQLRETURN rc = SQLFetch(statement_);
    if (rc == SQL_NO_DATA) return false;
    checkOdbc(rc, SQL_HANDLE_STMT, statement_, "SQLFetch");
    if (rc == SQL_SUCCESS_WITH_INFO) {
        // A row the driver could not convert comes with a status of its own, not an error.
        for (SQLULEN r = 0; r < fetched_; ++r)
            if (rowStatus_[r] == SQL_ROW_ERROR)
                throw diagnosticsError(SQL_HANDLE_STMT, statement_,
                                       QStringLiteral("A row could not be read."));
    }
    return fetched_ > 0;
}

void RowFetcher::appendBound(std::size_t c, SQLULEN row, RowBuffer& out) {
    const BoundColumn& column = *bound_[c];
    const SQLLEN indicator = column.indicators[row];
    if (indicator == SQL_NULL_DATA) return out.appendNull();
    const unsigned char* value = column.values.data() + row * column.width;
    if (column.form.fixedBytes != 0) {
        FixedValue fixed{};
        std::memcpy(&fixed, value, column.width);
        return appendFixedValue(kinds_[c], &fixed, out);
    }
    const bool cut =
        indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) >= column.width;
    if (!cut) {
        perValue_.appendNarrowText(kinds_[c],
                                   std::string_view(reinterpret_cast<const char*>(value),
                                                    static_cast<std::size_t>(indicator)),
                                   out);
        return;
    }
    if (!anyColumnOfABlock_)
        throw DbError(
            QStringLiteral("A value of column %1 is longer than its type allows.").arg(c + 1));
    position(row);
    perValue_.fetchColumn(static_cast<SQLUSMALLINT>(c + 1), kinds_[c], out);
}

void RowFetcher::position(SQLULEN row) {
    if (positioned_ == row + 1) return;
    checkOdbc(SQLSetPos(statement_, static_cast<SQLSETPOSIROW>(row + 1), SQL_POSITION,
                        SQL_LOCK_NO_CHANGE),
              SQL_HANDLE_STMT, statement_, "SQLSetPos");
    positioned_ = row + 1;
}

}  // namespace dorvane::db
