#pragma once
// A database connection over ODBC (wide-character API). Created closed; opened with an
// ODBC connection string; every failure throws DbError with the driver's text.

#include <QString>
#include <cstddef>
#include <memory>

#include "db/ado.h"

namespace dorvane::db {

class Recordset;
class OdbcConnection;

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

    void open(const QString& connectionString);
    int state() const;  // kStateClosed or kStateOpen
    // Runs one statement; any rows it returns are discarded.
    void execute(const QString& sql);
    // Runs one statement and returns its rows.
    Recordset query(const QString& sql);
    // The tables schema (kSchemaTables): rows with TABLE_NAME and TABLE_TYPE among others.
    Recordset openSchema(int schema);
    void close();

    // For Recordset: the open ODBC connection (throws when closed).
    OdbcConnection& odbc();

  private:
    int cursorLocation_ = kUseServer;
    int commandTimeout_ = kDefaultCommandTimeout;
    int connectionTimeout_ = kDefaultConnectionTimeout;
    std::size_t rowMemoryBound_;
    std::unique_ptr<OdbcConnection> odbc_;
};

}  // namespace dorvane::db
