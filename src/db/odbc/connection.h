#pragma once
// A database connection over ODBC (wide-character API). Created closed; opened with an
// ODBC connection string; every failure throws DbError with the driver's text.

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "db/odbc/ado.h"
#include "db/odbc/snapshot_transaction.h"
#include "db/odbc/thread_priority.h"
#include "db/odbc/while_waiting_hook.h"

namespace dorvane::db {

class Recordset;
class ConnectionOpening;
class OdbcConnection;
class RowStream;

class Connection {
  public:
    Connection();
    ~Connection();
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // kUseServer or kUseClient. Every recordset is read completely when it opens, so
    // both behave as a client cursor; the setting is kept for callers that read it.
    int cursorLocation() const { return cursorLocation_; }
    void setCursorLocation(int location);
    int commandTimeout() const { return commandTimeout_; }
    void setCommandTimeout(int seconds);
    int connectionTimeout() const { return connectionTimeout_; }
    void setConnectionTimeout(int seconds);
    // Bytes of rows a recordset keeps in memory before it continues in a temporary file.
    std::size_t rowMemoryBound() const { return rowMemoryBound_; }
    void setRowMemoryBound(std::size_t bytes) { rowMemoryBound_ = bytes; }
    // Off by default. When on, and the server can keep a snapshot, a query's rows are
    // counted first and then read on a thread of their own while the caller works through
    // them: the count is still exact before the first row, and the caller need not wait
    // for the last. Anything else run on the connection meanwhile first reads the rest.
    // `priority` is the reading thread's (see thread_priority.h).
    bool readAhead() const { return readAhead_; }
    void setReadAhead(bool on, ReaderPriority priority = ReaderPriority::BelowCaller) {
        readAhead_ = on;
        readerPriority_ = priority;
    }
    // Called every few milliseconds, on the thread that sets it, while a call of that thread
    // waits on the server (an event loop's turn, say): logging in, running a statement,
    // reading rows (those read ahead included), closing. Each such call then runs on a
    // thread of its own, one at a time (see waiting_call.h). None by default: calls run on
    // the calling thread, as do calls from other threads.
    void setWhileWaiting(WhileWaiting whileWaiting);

    // Takes the login `started` when it is the one this would make (same string, this
    // connection's time-out); opens afresh otherwise.
    void open(const QString& connectionString, ConnectionOpening* started = nullptr);
    int state() const;  // kStateClosed or kStateOpen
    // Runs one statement; any rows it returns are discarded.
    void execute(const QString& sql);
    // Runs one statement and returns its rows.
    Recordset query(const QString& sql);
    // The tables schema (kSchemaTables): rows with TABLE_NAME and TABLE_TYPE among others.
    Recordset openSchema(int schema);
    void close();

    // From the begin, statements take effect together at endTransaction(true), or not
    // at all; DDL included.
    void beginTransaction();
    void endTransaction(bool commit);

    // From another thread, while a statement, a query or a schema read of this connection
    // runs: cuts short what it waits for on the server, and it then fails. The transaction
    // stays open. Such calls made with a while-waiting function are cut short so when a
    // turn of it throws.
    void cancel() noexcept;

    // For Recordset: the open ODBC connection (throws when closed).
    OdbcConnection& odbc();

  private:
    // Reads the rest of a query still being read, so the connection is free again.
    void settleStream() noexcept;
    ServerKind serverKind();
    // cancel(), for the calls that wait with turns.
    CancelCall canceller() {
        return [this] { cancel(); };
    }

    int cursorLocation_ = kUseServer;
    int commandTimeout_ = kDefaultCommandTimeout;
    int connectionTimeout_ = kDefaultConnectionTimeout;
    std::size_t rowMemoryBound_;
    bool readAhead_ = false;
    ReaderPriority readerPriority_ = ReaderPriority::BelowCaller;
    WhileWaitingHook whileWaiting_;
    std::unique_ptr<OdbcConnection> odbc_;
    std::optional<ServerKind> serverKind_;
    std::shared_ptr<RowStream> stream_;  // the query being read ahead, if any
};

}  // namespace dorvane::db
