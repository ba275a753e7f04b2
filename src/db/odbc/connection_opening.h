#pragma once
// A connection being opened on a thread of its own while the caller goes on, so that a
// command needing two servers logs in to both at once. The caller's own open step takes
// it (Connection::open) and meets its failure there, as if it had opened it itself.

#include <QString>
#include <exception>
#include <memory>
#include <thread>

namespace dorvane::db {

class OdbcConnection;

class ConnectionOpening {
  public:
    // Starts at once; the string as a caller would give it to Connection::open.
    ConnectionOpening(const QString& connectionString, int loginTimeoutSeconds);
    // Waits for a login still under way; a connection nobody took is closed.
    ~ConnectionOpening();
    ConnectionOpening(const ConnectionOpening&) = delete;
    ConnectionOpening& operator=(const ConnectionOpening&) = delete;

    // True when this is the login that opening with these values would make, not yet
    // taken.
    bool opens(const QString& connectionString, int loginTimeoutSeconds) const;
    // Waits for the login and gives its connection, or throws what the login threw.
    std::unique_ptr<OdbcConnection> take();

  private:
    const QString connectionString_;
    const int loginTimeoutSeconds_;
    bool taken_ = false;
    // Written by the thread only; read after it has been joined.
    std::unique_ptr<OdbcConnection> opened_;
    std::exception_ptr failure_;
    std::thread thread_;  // last: started once everything above exists
};

}  // namespace dorvane::db
