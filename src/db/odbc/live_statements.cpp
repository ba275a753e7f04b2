#include "db/odbc/live_statements.h"

#include <algorithm>

namespace dorvane::db {

void LiveStatements::add(SQLHSTMT statement) {
    const std::lock_guard lock(mutex_);
    statements_.push_back(statement);
}

void LiveStatements::free(SQLHSTMT statement) noexcept {
    const std::lock_guard lock(mutex_);
    std::erase(statements_, statement);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

void LiveStatements::cancelAll() noexcept {
    const std::lock_guard lock(mutex_);
    for (SQLHSTMT statement : statements_) SQLCancel(statement);
}

}  // namespace dorvane::db
