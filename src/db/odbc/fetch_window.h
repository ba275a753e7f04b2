#pragma once
// psqlODBC reads a result a window of rows at a time (its cursor mode), and the window is
// counted in rows: 256 rows of 1 MiB are half a gigabyte once it has copied them. It reads
// the size from the connection before each FETCH, so the window is sized here from the
// rows read so far, to about kWindowBytes. Other drivers stream rows and are left alone.

#include <sql.h>

#include <cstddef>
#include <cstdint>

#include "db/odbc/snapshot_transaction.h"

namespace dorvane::db {

class OdbcConnection;

class FetchWindow {
  public:
    static constexpr std::size_t kWindowBytes = std::size_t{4} << 20;
    // Before the first row nothing is known of the rows' width.
    static constexpr std::int32_t kFirstRows = 4;

    // The rows a window should hold when its largest row takes `rowBytes`.
    static std::int32_t rowsFor(std::size_t rowBytes);

    // Sets the first, small window; call before the query runs, since the driver reads
    // its first window when it runs it. `kind` is the server the connection talks to.
    FetchWindow(OdbcConnection& connection, ServerKind kind);
    // Gives the connection back its own window, for the statements that follow.
    ~FetchWindow();
    FetchWindow(const FetchWindow&) = delete;
    FetchWindow& operator=(const FetchWindow&) = delete;
    // After each row read, with its size in the row buffer.
    void rowRead(std::size_t rowBytes);
    // The size set last; 0 when the driver has no such window.
    std::int32_t rows() const { return rows_; }

  private:
    void set(std::int32_t rows);

    SQLHDBC connection_ = SQL_NULL_HDBC;
    std::int32_t connectionRows_ = 0;
    std::int32_t rows_ = 0;
    std::int32_t rowsSinceSet_ = 0;
    std::size_t largestSinceSet_ = 0;
};

}  // namespace dorvane::db
