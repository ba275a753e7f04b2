#include "db/odbc/connection_opening.h"

#include <stdexcept>

#include "db/odbc/odbc_connection.h"
#include "db/values/driver_connection_string.h"

namespace dorvane::db {

ConnectionOpening::ConnectionOpening(const QString& connectionString, int loginTimeoutSeconds)
    : connectionString_(connectionString), loginTimeoutSeconds_(loginTimeoutSeconds) {
    thread_ = std::thread([this] {
        try {
            opened_ = std::make_unique<OdbcConnection>(adaptConnectionString(connectionString_),
                                                       loginTimeoutSeconds_);
        } catch (...) {
            failure_ = std::current_exception();
        }
    });
}

ConnectionOpening::~ConnectionOpening() {
    if (thread_.joinable()) thread_.join();
}

bool ConnectionOpening::opens(const QString& connectionString, int loginTimeoutSeconds) const {
    return !taken_ && connectionString == connectionString_ &&
           loginTimeoutSeconds == loginTimeoutSeconds_;
}

std::unique_ptr<OdbcConnection> ConnectionOpening::take() {
    if (taken_) throw std::logic_error("ConnectionOpening: the connection was already taken");
    taken_ = true;
    thread_.join();
    if (failure_) std::rethrow_exception(failure_);
    return std::move(opened_);
}

}  // namespace dorvane::db
