#include "pg_connection.hpp"

#include <poll.h>

#include <cerrno>
#include <string_view>

namespace standin {
namespace {

// How often a waiting command looks for the client's cancel.
constexpr int kCancelPollMs = 20;
constexpr std::string_view kQueryCanceled = "57014";

void cancelCommand(PGconn* c) {
    PGcancel* cancel = PQgetCancel(c);
    if (!cancel) return;
    char error[256];
    PQcancel(cancel, error, sizeof error);
    PQfreeCancel(cancel);
}

std::string errorField(const PGresult* r, int field) {
    const char* value = r ? PQresultErrorField(r, field) : nullptr;
    return value ? value : "";
}

}  // namespace

BackendError::BackendError(const std::string& message, const PGresult* failed)
    : std::runtime_error(message),
      sqlState(errorField(failed, PG_DIAG_SQLSTATE)),
      constraint(errorField(failed, PG_DIAG_CONSTRAINT_NAME)),
      detail(errorField(failed, PG_DIAG_MESSAGE_DETAIL)) {}

PgConnection::PgConnection(const std::string& conninfo) : conn_(PQconnectdb(conninfo.c_str())) {
    if (!conn_) throw BackendError("out of memory for a backend connection", "53200");
    if (PQstatus(conn_.get()) != CONNECTION_OK) {
        std::string message = PQerrorMessage(conn_.get());
        // libpq offers no SQLSTATE for connection failures; this one is recognisable by text.
        bool missing = message.find("does not exist") != std::string::npos;
        throw BackendError(message, missing ? "3D000" : "08001");
    }
    exec("SET client_encoding = 'UTF8'");
    exec("SET DateStyle = 'ISO, YMD'");
    exec("SET extra_float_digits = 3");
    exec("SET client_min_messages = warning");
    // Rows go out in the order they came in (ORDER BY standin_row). Walking the key's index
    // sends the first row at once; sorting would read the whole table first.
    exec("SET enable_sort = off");
}

PgResult PgConnection::exec(const std::string& sql, const PgParams& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
    PGconn* c = conn_.get();
    if (!PQsendQueryParams(c, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(),
                           nullptr, nullptr, 0)) {
        throw BackendError(PQerrorMessage(c), "");
    }
    // As PQexecParams: the last result, or the first that failed.
    PgResult result;
    for (;;) {
        awaitResult();
        PgResult next(PQgetResult(c));
        if (!next) break;
        if (!result || PQresultStatus(result.get()) != PGRES_FATAL_ERROR) result = std::move(next);
    }
    ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        commandFailed(state);
        throw BackendError(PQerrorMessage(conn_.get()), result.get());
    }
    return result;
}

void PgConnection::commandFailed(const char* sqlState) {
    // Cancelled: what undoes the command must run to its end.
    if (sqlState && std::string_view(sqlState) == kQueryCanceled) cancelRequested_ = nullptr;
}

void PgConnection::awaitResult() {
    PGconn* c = conn_.get();
    while (PQisBusy(c)) {
        // Asked again every slice until a command fails cancelled: a cancel that reaches the
        // backend between two commands of a statement is lost, and the next one may wait.
        if (cancelRequested_ && cancelRequested_()) cancelCommand(c);
        pollfd socket{PQsocket(c), POLLIN, 0};
        if (poll(&socket, 1, cancelRequested_ ? kCancelPollMs : -1) < 0 && errno != EINTR) return;
        if (!PQconsumeInput(c)) return;  // the connection broke; PQgetResult says so
    }
}

PgRowStream::PgRowStream(PgConnection& conn, const std::string& sql) : conn_(conn) {
    PGconn* c = conn_.get();
    // The extended protocol without parameters, as exec sends a query.
    if (!PQsendQueryParams(c, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)) {
        throw BackendError(PQerrorMessage(c), "");
    }
    PQsetSingleRowMode(c);
    // A failing query reports here, before any row is handed out.
    row_ = take();
    firstWaiting_ = row_ != nullptr;
}

PgRowStream::~PgRowStream() {
    drain();
}

const PGresult* PgRowStream::next() {
    if (firstWaiting_) {
        firstWaiting_ = false;
        return row_.get();
    }
    if (ended_) return nullptr;
    row_ = take();
    return row_.get();
}

PgResult PgRowStream::take() {
    conn_.awaitResult();
    PgResult result(PQgetResult(conn_.get()));
    ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_TUPLES_OK;
    if (status == PGRES_SINGLE_TUPLE) return result;
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        drain();
        return nullptr;
    }
    const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
    conn_.commandFailed(state);
    BackendError error(PQerrorMessage(conn_.get()), result.get());
    drain();
    throw error;
}

void PgRowStream::drain() {
    if (ended_) return;
    while (PgResult rest{PQgetResult(conn_.get())}) {
    }
    ended_ = true;
}

PgTransaction::PgTransaction(PgConnection& conn) : conn_(conn) {
    if (PQtransactionStatus(conn_.get()) != PQTRANS_IDLE) return;
    conn_.exec("BEGIN");
    open_ = true;
}

PgTransaction::~PgTransaction() {
    if (!open_) return;
    try {
        conn_.exec("ROLLBACK");
    } catch (const BackendError&) {
        // The connection is unusable anyway; the next command reports it.
    }
}

void PgTransaction::commit() {
    if (!open_) return;
    open_ = false;
    conn_.exec("COMMIT");
}

namespace {
// One name serves every statement: each savepoint is gone before the next is set.
constexpr const char* kStatementSavepoint = "standin_statement";
}  // namespace

PgSavepoint::PgSavepoint(PgConnection& conn) : conn_(conn) {
    conn_.exec(std::string("SAVEPOINT ") + kStatementSavepoint);
}

PgSavepoint::~PgSavepoint() {
    if (!open_) return;
    try {
        conn_.exec(std::string("ROLLBACK TO SAVEPOINT ") + kStatementSavepoint);
        conn_.exec(std::string("RELEASE SAVEPOINT ") + kStatementSavepoint);
    } catch (const BackendError&) {
        // The connection is unusable anyway; the next command reports it.
    }
}

void PgSavepoint::release() {
    open_ = false;
    conn_.exec(std::string("RELEASE SAVEPOINT ") + kStatementSavepoint);
}

std::string conninfoValue(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace standin
