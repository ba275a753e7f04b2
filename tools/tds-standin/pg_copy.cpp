#include "pg_copy.hpp"

namespace standin {
namespace {

constexpr size_t kBlockBytes = 256 * 1024;

// COPY's text format: backslash escapes for the characters that delimit fields and rows.
void appendEscaped(std::string& out, const std::string& value) {
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace

PgCopyIn::PgCopyIn(PgConnection& conn, const std::string& relation,
                   const std::vector<std::string>& columns)
    : conn_(conn) {
    std::string sql = "COPY " + relation + " (";
    for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    sql += ") FROM STDIN";
    PGconn* c = conn_.get();
    if (!PQsendQuery(c, sql.c_str())) throw BackendError(PQerrorMessage(c), "");
    // The COPY may wait for a lock first; the client may cancel that wait.
    conn_.awaitResult();
    PgResult result(PQgetResult(c));
    if (result && PQresultStatus(result.get()) == PGRES_COPY_IN) {
        open_ = true;
        return;
    }
    const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
    std::string message = PQerrorMessage(c);
    std::string sqlState = state ? state : "";
    conn_.commandFailed(state);
    while (PgResult rest{PQgetResult(c)}) {
    }
    throw BackendError(message, sqlState);
}

PgCopyIn::~PgCopyIn() {
    if (!open_) return;
    PGconn* c = conn_.get();
    PQputCopyEnd(c, "bulk load abandoned");
    while (PgResult rest{PQgetResult(c)}) {
    }
}

void PgCopyIn::row(const std::vector<std::optional<std::string>>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) block_ += '\t';
        if (values[i])
            appendEscaped(block_, *values[i]);
        else
            block_ += "\\N";
    }
    block_ += '\n';
    ++rows_;
    if (block_.size() >= kBlockBytes) flush();
}

void PgCopyIn::flush() {
    if (block_.empty()) return;
    PGconn* c = conn_.get();
    if (PQputCopyData(c, block_.data(), static_cast<int>(block_.size())) != 1) {
        throw BackendError(PQerrorMessage(c), "");
    }
    block_.clear();
}

uint64_t PgCopyIn::finish() {
    flush();
    open_ = false;
    PGconn* c = conn_.get();
    if (PQputCopyEnd(c, nullptr) != 1) throw BackendError(PQerrorMessage(c), "");
    takeResult();
    return rows_;
}

void PgCopyIn::takeResult() {
    PGconn* c = conn_.get();
    PgResult failed;
    for (;;) {
        conn_.awaitResult();
        PgResult next(PQgetResult(c));
        if (!next) break;
        if (PQresultStatus(next.get()) != PGRES_COMMAND_OK && !failed) failed = std::move(next);
    }
    if (!failed) return;
    const char* state = PQresultErrorField(failed.get(), PG_DIAG_SQLSTATE);
    conn_.commandFailed(state);
    throw BackendError(PQresultErrorMessage(failed.get()), failed.get());
}

}  // namespace standin
