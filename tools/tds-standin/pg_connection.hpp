#pragma once

#include <libpq-fe.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace standin {

struct PgResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgResult = std::unique_ptr<PGresult, PgResultDeleter>;

// A failed backend command, with PostgreSQL's SQLSTATE.
struct BackendError : std::runtime_error {
    BackendError(const std::string& message, std::string sqlState)
        : std::runtime_error(message), sqlState(std::move(sqlState)) {}
    // From a failed command's result: its SQLSTATE, and for a violated constraint its
    // name and PostgreSQL's detail line (which names the key value).
    BackendError(const std::string& message, const PGresult* failed);
    std::string sqlState;
    std::string constraint;
    std::string detail;
};

using PgParams = std::vector<std::optional<std::string>>;

// One libpq connection, used by one client session only.
class PgConnection {
  public:
    // Throws BackendError; a missing database has SQLSTATE 3D000.
    explicit PgConnection(const std::string& conninfo);

    PgResult exec(const std::string& sql, const PgParams& params = {});

    PGconn* get() { return conn_.get(); }

    // While a command waits on the backend, `requested` is asked every few milliseconds
    // whether the client has cancelled it; once it says so, the backend is asked to cancel
    // every command that waits until one fails cancelled (SQLSTATE 57014), after which the
    // watch ends. Empty: waits as long as the command takes.
    void watchForCancel(std::function<bool()> requested) {
        cancelRequested_ = std::move(requested);
    }
    // Waits until the next result can be taken without blocking, as watchForCancel says.
    void awaitResult();
    // After a command failed with `sqlState`: a cancelled one ends the watch.
    void commandFailed(const char* sqlState);

  private:
    struct ConnDeleter {
        void operator()(PGconn* c) const { PQfinish(c); }
    };
    std::unique_ptr<PGconn, ConnDeleter> conn_;
    std::function<bool()> cancelRequested_;
};

// Watches for the client's cancel for as long as it lives.
class CancelWatch {
  public:
    CancelWatch(PgConnection& conn, std::function<bool()> requested) : conn_(conn) {
        conn_.watchForCancel(std::move(requested));
    }
    ~CancelWatch() { conn_.watchForCancel(nullptr); }
    CancelWatch(const CancelWatch&) = delete;
    CancelWatch& operator=(const CancelWatch&) = delete;

  private:
    PgConnection& conn_;
};

// The rows of one query, taken one at a time as the backend sends them (libpq single-row
// mode): a large result is never held whole, and rows go on while the backend still sends.
class PgRowStream {
  public:
    // Throws BackendError when the query fails before its first row.
    PgRowStream(PgConnection& conn, const std::string& sql);
    PgRowStream(const PgRowStream&) = delete;
    PgRowStream& operator=(const PgRowStream&) = delete;
    // Reads what is left, so that the connection is ready for the next command.
    ~PgRowStream();

    // The next row (row 0 of the result), or null at the end; valid until the next call.
    const PGresult* next();

  private:
    // The next row's result, or null at the end; throws BackendError on failure.
    PgResult take();
    void drain();

    PgConnection& conn_;
    PgResult row_;
    bool firstWaiting_ = false;
    bool ended_ = false;
};

// Runs commands in a transaction that rolls back unless committed. On a connection already
// inside a transaction (the client's own) it only joins that one: the savepoint around the
// statement then undoes its part on failure.
class PgTransaction {
  public:
    explicit PgTransaction(PgConnection& conn);
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;
    ~PgTransaction();
    void commit();

  private:
    PgConnection& conn_;
    bool open_ = false;
};

// A savepoint in the open transaction that is rolled back to unless released: one failing
// statement is undone alone and the transaction stays usable.
class PgSavepoint {
  public:
    explicit PgSavepoint(PgConnection& conn);
    PgSavepoint(const PgSavepoint&) = delete;
    PgSavepoint& operator=(const PgSavepoint&) = delete;
    ~PgSavepoint();
    void release();

  private:
    PgConnection& conn_;
    bool open_ = true;
};

// A libpq conninfo string value, quoted.
std::string conninfoValue(const std::string& value);
// "name" with embedded quotes doubled.
std::string quoteIdentifier(const std::string& name);

}  // namespace standin
