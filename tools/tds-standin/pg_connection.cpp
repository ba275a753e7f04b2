#include "pg_connection.hpp"

namespace standin {

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
}

PgResult PgConnection::exec(const std::string& sql, const PgParams& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
    PgResult result(PQexecParams(conn_.get(), sql.c_str(), static_cast<int>(values.size()),
                                 nullptr, values.data(), nullptr, nullptr, 0));
    ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        throw BackendError(PQerrorMessage(conn_.get()), state ? state : "");
    }
    return result;
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
    conn_.exec("COMMIT");
    open_ = false;
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
