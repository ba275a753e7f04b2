#pragma once
// The statement handles open on one ODBC connection, so that another thread can cut
// short the one running: ODBC lets SQLCancel be called on a statement from any thread.

#include <sql.h>

#include <mutex>
#include <vector>

namespace dorvane::db {

class LiveStatements {
  public:
    void add(SQLHSTMT statement);
    // Frees `statement` under the lock, so that a cancel never meets a freed handle.
    void free(SQLHSTMT statement) noexcept;
    // Cancels what each statement is doing on the server; an idle one is left as it is.
    void cancelAll() noexcept;

  private:
    std::mutex mutex_;
    std::vector<SQLHSTMT> statements_;
};

}  // namespace dorvane::db
