#include "session.hpp"

#include "bulk_message_reader.hpp"
#include "login.hpp"
#include "request_headers.hpp"
#include "response_writer.hpp"
#include "rpc_request.hpp"
#include "sql_parser.hpp"
#include "statement_executor.hpp"
#include "text_encoding.hpp"
#include "transaction_manager_request.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace standin {
namespace {

constexpr uint32_t kTds74 = 0x74000004;
constexpr size_t kLoggedSqlChars = 400;

SqlError backendFailure(const std::exception& e) {
    return SqlError(50000, 16, 1,
                    std::string("The SQL Server stand-in's backend failed: ") + e.what());
}

// Writes the DONE that closes a statement; later statements need the MORE bit.
void closeStatement(ResponseWriter& out, const StatementOutcome& outcome, bool noCount, bool last,
                    uint16_t extraStatus = 0) {
    uint16_t status = extraStatus | (last ? done_status::kFinal : done_status::kMore);
    if (outcome.rowCount && !noCount) status |= done_status::kCount;
    out.done(outcome.doneToken, status, outcome.command, outcome.rowCount.value_or(0));
}

constexpr int32_t kDuplicateKey = 2627;

// Errors during INSERT end with SQL Server's note that the statement was terminated; a
// duplicate key does too, though its severity is lower.
bool endsWithTerminationNote(const Statement& s, const SqlError& e) {
    return std::holds_alternative<InsertStatement>(s) && !e.abortsBatch &&
           (e.severity >= 16 || e.number == kDuplicateKey) && e.number != 50000;
}

}  // namespace

Session::Session(int fd, uint16_t sessionId, const ServerConfig& config, Logger& log)
    : stream_(fd), sessionId_(sessionId), config_(config), log_(log) {
    stream_.setSessionId(sessionId);
}

void Session::log(const std::string& text) {
    log_.line("[spid " + std::to_string(sessionId_) + "] " + text);
}

void Session::run() {
    try {
        bool loggedIn = false;
        while (auto message = stream_.readMessage()) {
            // INSERT BULK announces only the message right after it.
            std::optional<ObjectName> announced = std::exchange(pendingBulkLoad_, std::nullopt);
            if (message->type == packet_type::kBulkLoad) pendingBulkLoad_ = std::move(announced);
            switch (message->type) {
                case packet_type::kPrelogin:
                    stream_.sendMessage(packet_type::kTabularResult, preloginResponse());
                    break;
                case packet_type::kLogin7:
                    loggedIn = login(*message);
                    if (!loggedIn) return;
                    break;
                case packet_type::kSqlBatch:
                    if (!loggedIn) throw ProtocolError("SQL batch before login");
                    sqlBatch(*message);
                    break;
                case packet_type::kRpc:
                    if (!loggedIn) throw ProtocolError("RPC before login");
                    rpc(*message);
                    break;
                case packet_type::kTransactionManager:
                    if (!loggedIn) throw ProtocolError("transaction manager request before login");
                    transactionManager(*message);
                    break;
                case packet_type::kBulkLoad:
                    if (!loggedIn) throw ProtocolError("bulk load before login");
                    bulkLoad(std::move(*message));
                    break;
                case packet_type::kAttention:
                    acknowledgeAttention();
                    break;
                default:
                    if (!loggedIn)
                        throw ProtocolError("unexpected message type " +
                                            std::to_string(message->type));
                    refuse(*message);
            }
        }
        log("client closed the connection");
    } catch (const ProtocolError& e) {
        log(std::string("connection dropped: ") + e.what());
    } catch (const std::exception& e) {
        log(std::string("session failed: ") + e.what());
    }
    endOpenTransaction();
}

void Session::endOpenTransaction() {
    if (!transaction_) return;
    try {
        if (transaction_->abandon()) log("open transaction rolled back as the session ended");
    } catch (const std::exception& e) {
        log(std::string("rolling back the open transaction failed: ") + e.what());
    }
}

bool Session::abortTransaction(ResponseWriter& out) {
    if (!state_.xactAbort || !transaction_->active()) return false;
    try {
        transaction_->rollback(out.tokens());
    } catch (const std::exception& e) {
        log(std::string("rolling back after an error failed: ") + e.what());
    }
    return true;
}

bool Session::login(const Message& message) {
    LoginRequest request = parseLogin7(message.payload);
    std::string database = request.database.empty() ? "master" : request.database;
    log("LOGIN7 user '" + request.userName + "' database '" + database + "' server '" +
        request.serverName + "' TDS 0x" +
        [&] {
            char b[16];
            std::snprintf(b, sizeof b, "%08x", request.tdsVersion);
            return std::string(b);
        }() +
        " packet size " + std::to_string(request.packetSize));
    ResponseWriter out(stream_);
    auto reject = [&](const std::vector<SqlError>& errors) {
        for (const auto& e : errors) {
            tokens::error(out.tokens(), e);
            log("login refused: " + std::to_string(e.number) + " " + e.what());
        }
        out.done(tokens::kDone, done_status::kError, 0, 0);
        out.finish();
        return false;
    };
    SqlError loginFailed(18456, 14, 1, "Login failed for user '" + request.userName + "'.");
    if (request.tdsVersion < kTds74) {
        return reject({SqlError(
            50000, 16, 1, "The SQL Server stand-in speaks TDS 7.4 only; use TDS_Version=7.4.")});
    }
    if (foldCase(request.userName) != foldCase(config_.userName) ||
        request.password != config_.password) {
        return reject({loginFailed});
    }
    try {
        backend_ = std::make_unique<PgConnection>(config_.conninfoFor(database));
        catalogue_ = std::make_unique<Catalogue>(*backend_);
        transaction_ = std::make_unique<SessionTransaction>(*backend_);
    } catch (const BackendError& e) {
        if (e.sqlState != "3D000") log(std::string("backend connection failed: ") + e.what());
        return reject({SqlError(4060, 11, 1,
                                "Cannot open database \"" + database +
                                    "\" requested by the login. The login failed."),
                       loginFailed});
    }
    state_.database = database;
    state_.userName = request.userName;
    state_.processId = sessionId_;
    size_t packetSize =
        request.packetSize >= 512 && request.packetSize <= 32767 ? request.packetSize : 4096;

    ByteWriter& t = out.tokens();
    tokens::envChange(t, env_change::kDatabase, utf8ToUtf16(database), u"master");
    tokens::info(t, 5701, 0, 2, "Changed database context to '" + database + "'.");
    tokens::collationChange(t);
    tokens::envChange(t, env_change::kLanguage, u"us_english", u"");
    tokens::info(t, 5703, 0, 1, "Changed language setting to us_english.");
    tokens::loginAck(t);
    std::u16string size = utf8ToUtf16(std::to_string(packetSize));
    tokens::envChange(t, env_change::kPacketSize, size, size);
    out.done(tokens::kDone, done_status::kFinal, 0, 0);
    out.finish();
    stream_.setPacketSize(packetSize);
    return true;
}

void Session::requireCurrentTransaction(ByteReader& reader) {
    uint64_t named = readTransactionDescriptor(reader);
    // Descriptor 0 runs in the session's transaction, if any, as without MARS.
    if (named == 0 || named == transaction_->descriptor()) return;
    char hex[24];
    std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(named));
    throw SqlError(3971, 16, 1,
                   std::string("The server failed to resume the transaction. Desc:") + hex + ".");
}

void Session::reportError(ResponseWriter& out, const SqlError& e) {
    log("error " + std::to_string(e.number) + ": " + e.what());
    tokens::error(out.tokens(), e);
    out.done(tokens::kDone, done_status::kError, 0, 0);
}

void Session::transactionManager(const Message& message) {
    ResponseWriter out(stream_);
    StatementExecutor executor(*backend_, *catalogue_, *transaction_, state_, config_, out);
    try {
        ByteReader reader(message.payload);
        requireCurrentTransaction(reader);
        TransactionStatement request = parseTransactionManagerRequest(reader);
        static const char* const kNames[] = {"begin", "commit", "rollback"};
        log(std::string("transaction manager: ") + kNames[static_cast<int>(request.kind)] +
            (request.beginAfterwards ? " and begin" : ""));
        try {
            StatementOutcome outcome = executor.execute(request);
            closeStatement(out, outcome, state_.noCount, true);
        } catch (const BackendError& e) {
            throw backendFailure(e);
        }
    } catch (const SqlError& e) {
        reportError(out, e);
    }
    out.finish();
}

void Session::sqlBatch(const Message& message) {
    ByteReader reader(message.payload);
    ResponseWriter out(stream_);
    try {
        requireCurrentTransaction(reader);
    } catch (const SqlError& e) {
        reportError(out, e);
        out.finish();
        return;
    }
    std::string sql = utf16ToUtf8(reader.utf16(reader.remaining() / 2));
    log("batch: " + (sql.size() > kLoggedSqlChars ? sql.substr(0, kLoggedSqlChars) + "..." : sql));

    StatementExecutor executor(*backend_, *catalogue_, *transaction_, state_, config_, out);
    std::vector<Statement> statements;
    try {
        statements = parseBatch(sql);
        bool hasView = std::any_of(statements.begin(), statements.end(), [](const auto& s) {
            return std::holds_alternative<CreateViewStatement>(s);
        });
        if (hasView && statements.size() > 1) {
            throw SqlError(111, 15, 1,
                           "'CREATE VIEW' must be the first statement in a query batch.", true);
        }
    } catch (const SqlError& e) {
        reportError(out, e);
        out.finish();
        return;
    }
    if (statements.empty()) out.done(tokens::kDone, done_status::kFinal, 0, 0);
    // A statement waiting on the backend (for a lock another session holds, say) is cut
    // short by the client's attention.
    const CancelWatch watch(*backend_, [&out] { return out.cancelled(); });
    for (size_t i = 0; i < statements.size(); ++i) {
        bool last = i + 1 == statements.size();
        try {
            try {
                StatementOutcome outcome = executor.execute(statements[i]);
                if (out.wasCancelled()) break;
                if (const auto* bulk = std::get_if<InsertBulkStatement>(&statements[i])) {
                    pendingBulkLoad_ = bulk->table;
                }
                closeStatement(out, outcome, state_.noCount, last);
                continue;
            } catch (const BackendError& e) {
                throw backendFailure(e);
            } catch (const std::invalid_argument& e) {
                throw backendFailure(e);
            }
        } catch (const SqlError& e) {
            // The attention ends the batch; the cancelled statement's error is not sent, and
            // an open transaction stays open.
            if (out.wasCancelled()) break;
            log("error " + std::to_string(e.number) + ": " + e.what());
            tokens::error(out.tokens(), e);
            if (endsWithTerminationNote(statements[i], e)) {
                tokens::info(out.tokens(), 3621, 0, 0, "The statement has been terminated.");
            }
            bool stop = abortTransaction(out) || e.abortsBatch || last;
            out.done(tokens::kDone,
                     static_cast<uint16_t>(done_status::kError | (stop ? 0 : done_status::kMore)),
                     0, 0);
            if (stop) break;
        }
    }
    out.finish();
    if (out.wasCancelled()) {
        log("statement cancelled by attention");
        stream_.readMessage();  // the attention just acknowledged
    }
}

void Session::rpc(const Message& message) {
    ResponseWriter out(stream_);
    StatementExecutor executor(*backend_, *catalogue_, *transaction_, state_, config_, out);
    const CancelWatch watch(*backend_, [&out] { return out.cancelled(); });
    try {
        try {
            ByteReader headers(message.payload);
            requireCurrentTransaction(headers);
            ProcedureCall call = parseRpcRequest(message.payload);
            std::string args;
            for (const auto& a : call.arguments) {
                args += " " + a.name + "=" +
                        (a.value.kind == Literal::Kind::Null ? "NULL" : "'" + a.value.text + "'");
            }
            log("RPC " + call.procedure + args);
            StatementOutcome outcome = executor.call(call);
            if (!out.wasCancelled()) closeStatement(out, outcome, state_.noCount, true);
        } catch (const BackendError& e) {
            throw backendFailure(e);
        }
    } catch (const SqlError& e) {
        if (!out.wasCancelled()) {
            log("error " + std::to_string(e.number) + ": " + e.what());
            tokens::error(out.tokens(), e);
            abortTransaction(out);
            tokens::returnStatus(out.tokens(), 1);
            out.done(tokens::kDoneProc, done_status::kError, 0, 0);
        }
    }
    out.finish();
    if (out.wasCancelled()) stream_.readMessage();
}

void Session::bulkLoad(Message message) {
    BulkMessageReader rows(stream_, std::move(message));
    std::optional<ObjectName> table = std::exchange(pendingBulkLoad_, std::nullopt);
    if (!table) {
        rows.drain();
        log("bulk load without INSERT BULK refused");
        ResponseWriter out(stream_);
        tokens::error(out.tokens(),
                      unsupported("a bulk load message not announced by INSERT BULK"));
        out.done(tokens::kDone, done_status::kError, 0, 0);
        out.finish();
        return;
    }
    ResponseWriter out(stream_);
    StatementExecutor executor(*backend_, *catalogue_, *transaction_, state_, config_, out);
    const CancelWatch watch(*backend_, [&out] { return out.cancelled(); });
    try {
        try {
            StatementOutcome outcome = executor.bulkLoad(*table, rows);
            log("bulk load into " + table->written() + ": " +
                std::to_string(outcome.rowCount.value_or(0)) + " rows");
            if (!out.wasCancelled()) closeStatement(out, outcome, state_.noCount, true);
        } catch (const BackendError& e) {
            throw backendFailure(e);
        }
    } catch (const SqlError& e) {
        // The rest of the message is read before the answer, which ends the request.
        rows.drain();
        if (rows.ignored()) {
            // An ignored message gets no answer; the client's attention follows it.
            log("bulk load ignored as the client asked");
            return;
        }
        if (!out.wasCancelled()) {
            log("error " + std::to_string(e.number) + ": " + e.what());
            tokens::error(out.tokens(), e);
            if (e.number == 515 || e.number == kDuplicateKey) {
                tokens::info(out.tokens(), 3621, 0, 0, "The statement has been terminated.");
            }
            abortTransaction(out);
            out.done(tokens::kDone, done_status::kError, 0, 0);
        }
    }
    out.finish();
    if (out.wasCancelled()) {
        log("bulk load cancelled by attention");
        stream_.readMessage();  // the attention just acknowledged
    }
}

void Session::acknowledgeAttention() {
    log("attention acknowledged");
    ResponseWriter out(stream_);
    out.done(tokens::kDone, done_status::kAttention, 0, 0);
    out.finish();
}

void Session::refuse(const Message& message) {
    log("refused message type " + std::to_string(message.type));
    ResponseWriter out(stream_);
    tokens::error(out.tokens(),
                  unsupported("TDS message type " + std::to_string(message.type) + " (bulk load)"));
    out.done(tokens::kDone, done_status::kError, 0, 0);
    out.finish();
}

}  // namespace standin
