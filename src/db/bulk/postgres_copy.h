#pragma once
// A libpq session to the PostgreSQL server of a psqlODBC connection string, for copying
// rows with COPY ... FROM STDIN inside one transaction: begin, the statements before the
// copy (DROP, CREATE TABLE), the copy, commit. The caller hands the rows over in
// buffers of its own size (copy_text.h in sql writes them), so no table is held whole;
// each buffer goes to the server from a thread of the session's own while the caller makes
// the next, and at most those two are held.
//
// Every failure throws DbError with the server's message; a refused COPY throws
// PostgresCopyError, which names the row the server stopped at. Ending the session
// (or rollback()) undoes whatever the open transaction did. As a Connection can, the
// session lets its caller take turns while it waits on the server (setWhileWaiting), and
// a turn that throws cuts short the statement or the copy waited for.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

#include "db/bulk/background_call.h"
#include "db/odbc/while_waiting_hook.h"
#include "db/values/db_error.h"

struct pg_conn;
struct pg_cancel;

namespace dorvane::db {

class PostgresCopyError : public DbError {
  public:
    PostgresCopyError(const QString& description, const QString& sqlState, std::int64_t row)
        : DbError(description, sqlState), row_(row) {}
    // The row of the copy (counted from 1) the server's error names, or 0 when it names
    // none: the copy's data line, as each row takes one line.
    std::int64_t row() const { return row_; }

  private:
    std::int64_t row_;
};

class PostgresCopySession {
  public:
    PostgresCopySession();
    // Opens at once; see open().
    explicit PostgresCopySession(const QString& odbcConnectionString);
    ~PostgresCopySession();  // rolls back an open transaction, then closes
    PostgresCopySession(const PostgresCopySession&) = delete;
    PostgresCopySession& operator=(const PostgresCopySession&) = delete;

    // Called every few milliseconds, on the thread that sets it, while a call of that thread
    // waits on the server: connecting, a statement, rows the server is slow to take, the end
    // of the copy, commit, rollback, closing. As Connection::setWhileWaiting says.
    void setWhileWaiting(WhileWaiting whileWaiting) { whileWaiting_.set(std::move(whileWaiting)); }

    // Connects with the server, port, database, user, password and SSL options of the
    // psqlODBC string (libpq_parameters.h).
    void open(const QString& odbcConnectionString);
    bool isOpen() const { return conn_ != nullptr; }
    // Rolls back an open transaction and closes; nothing when closed.
    void close() noexcept;

    void begin();
    // One statement, such as DROP TABLE or CREATE TABLE; no rows are read.
    void execute(const QString& sql);
    // Sends `copyStatement` (COPY ... FROM STDIN, text format). `table` is the table's
    // name as the server reports it in an error about a row.
    void startCopy(const QString& copyStatement, const QString& table);
    // Whole rows in the COPY text format, UTF-8; any number of rows per call. They are
    // sent while the caller goes on: each call first waits until the rows of the call before
    // have gone (taking turns as setWhileWaiting says), and throws what sending them threw.
    // The session shares `rows` until then, so a caller that writes into its buffer again at
    // once gets a fresh one; one that keeps two and takes turns with them reuses both.
    void putRows(const QByteArray& rows);
    // Ends the copy once its rows have gone; gives the rows the server took. Throws
    // PostgresCopyError when the server refused a row or the copy; the transaction must
    // then be rolled back.
    std::int64_t endCopy();
    // Throws when the server did not commit (a transaction that failed earlier ends in
    // a rollback instead).
    void commit();
    // Undoes the open transaction, ending a copy in progress first. Never throws: it runs
    // after failures, and a session whose connection broke has nothing left to undo.
    void rollback() noexcept;

    bool inTransaction() const { return inTransaction_; }
    bool copying() const { return copying_; }

    // From another thread, while a call of this session waits on the server: asks the
    // server to cancel what it is doing; the call then fails and the transaction must be
    // rolled back. Nothing while the session opens or closes.
    void cancel() noexcept;

  private:
    struct Finish {
        void operator()(pg_conn* conn) const;
    };
    struct FreeCancel {
        void operator()(pg_cancel* cancel) const;
    };
    // cancel(), for the calls that wait with turns.
    CancelCall canceller() {
        return [this] { cancel(); };
    }
    pg_conn* existing() const;
    // existing(), once rows put before have gone; waits with turns and throws what sending
    // them threw.
    pg_conn* idle();
    // The same without turns, on whichever thread runs it; a failure is dropped.
    void awaitSendingHere() noexcept;
    // The rollback itself, on whichever thread runs it.
    void rollbackHere() noexcept;
    // Runs `step` of rollback() or close(), which must not throw: as setWhileWaiting says
    // when it can; here when no thread could be had for it; not at all when a turn taken
    // while another call of the session waits asks for it.
    template <class Step>
    void settle(Step step) noexcept;

    WhileWaitingHook whileWaiting_;
    std::unique_ptr<pg_conn, Finish> conn_;
    std::unique_ptr<pg_cancel, FreeCancel> cancel_;  // made with conn_, ended before it
    QByteArray sent_;                                // putRows' rows, held until they have gone
    BackgroundCall sending_;  // sending them; ended before sent_ and conn_ are
    QString copyTable_;
    bool inTransaction_ = false;
    bool copying_ = false;
};

// The row an error's CONTEXT names in "COPY t, line N..." for the table `table`, or 0.
std::int64_t copyLineOf(const QString& errorContext, const QString& table);

}  // namespace dorvane::db
