#include "db/bulk/postgres_copy.h"

#include <libpq-fe.h>
#include <poll.h>

#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "db/bulk/libpq_parameters.h"

namespace dorvane::db {
namespace {

struct Clear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, Clear>;

// PQputCopyData takes an int; larger buffers go in pieces of this size.
constexpr qsizetype kPieceBytes = qsizetype{1} << 20;

QString serverText(const char* text) {
    return QString::fromUtf8(text ? text : "").trimmed();
}

QString resultField(const PGresult* result, int field) {
    return QString::fromUtf8(PQresultErrorField(result, field));
}

[[noreturn]] void throwConnectionError(PGconn* conn) {
    throw DbError(serverText(PQerrorMessage(conn)));
}

[[noreturn]] void throwResultError(const PGresult* result) {
    throw DbError(serverText(PQresultErrorMessage(result)), resultField(result, PG_DIAG_SQLSTATE));
}

// One statement (the extended protocol takes no more than one), its result kept; waited for
// as `waiting` says, and cut short by `cancel`.
Result run(WhileWaitingHook& waiting, PGconn* conn, const QString& sql, const CancelCall& cancel) {
    const QByteArray text = sql.toUtf8();
    return waiting.run(
        [&] {
            Result result(
                PQexecParams(conn, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0));
            if (!result) throwConnectionError(conn);
            return result;
        },
        cancel);
}

// A blocking connection never answers "not now"; should one, wait until it can write.
void waitUntilWritable(PGconn* conn) {
    pollfd socket{PQsocket(conn), POLLOUT, 0};
    while (poll(&socket, 1, -1) < 0 && errno == EINTR) {
    }
}

}  // namespace

void PostgresCopySession::Finish::operator()(pg_conn* conn) const {
    PQfinish(conn);
}

void PostgresCopySession::FreeCancel::operator()(pg_cancel* cancel) const {
    PQfreeCancel(cancel);
}

void PostgresCopySession::cancel() noexcept {
    // PQcancel may be called from any thread; it opens a connection of its own.
    char error[256];
    if (cancel_) PQcancel(cancel_.get(), error, sizeof error);
}

PostgresCopySession::PostgresCopySession() = default;

PostgresCopySession::PostgresCopySession(const QString& odbcConnectionString) {
    open(odbcConnectionString);
}

PostgresCopySession::~PostgresCopySession() {
    close();
}

pg_conn* PostgresCopySession::existing() const {
    if (!conn_) throw DbError(QStringLiteral("The PostgreSQL copy session is not open."));
    return conn_.get();
}

pg_conn* PostgresCopySession::idle() {
    pg_conn* conn = existing();
    if (!sending_.started()) return conn;
    // Whatever happens, the rows are let go once their sending has ended.
    struct Release {
        QByteArray& rows;
        ~Release() { rows = QByteArray(); }
    } release{sent_};
    if (sending_.finished())
        sending_.collect();
    else
        whileWaiting_.run([this] { sending_.collect(); }, canceller());
    return conn;
}

void PostgresCopySession::awaitSendingHere() noexcept {
    try {
        sending_.collect();
    } catch (...) {
        // The copy is being undone: how its rows fared no longer matters.
    }
    sent_ = QByteArray();
}

template <class Step>
void PostgresCopySession::settle(Step step) noexcept {
    bool ran = false;
    try {
        whileWaiting_.run([&] {
            ran = true;
            step();
        });
    } catch (...) {
        // The turns threw once the step had run, or no thread could be started for it.
    }
    if (!ran && !whileWaiting_.underWay()) step();
}

void PostgresCopySession::open(const QString& odbcConnectionString) {
    close();
    const std::vector<LibpqParameter> parameters = libpqParameters(odbcConnectionString);
    std::vector<const char*> keywords, values;
    for (const LibpqParameter& p : parameters) {
        keywords.push_back(p.keyword.constData());
        values.push_back(p.value.constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    conn_ = whileWaiting_.run([&] {
        // No expansion: a database name is only ever a name.
        std::unique_ptr<pg_conn, Finish> conn(PQconnectdbParams(keywords.data(), values.data(), 0));
        if (!conn) throw DbError(QStringLiteral("libpq could not allocate a connection."));
        if (PQstatus(conn.get()) != CONNECTION_OK) throwConnectionError(conn.get());
        // Notices (a DROP ... IF EXISTS that found nothing) concern nobody here.
        PQsetNoticeProcessor(
            conn.get(), [](void*, const char*) {}, nullptr);
        return conn;
    });
    cancel_.reset(PQgetCancel(conn_.get()));
}

void PostgresCopySession::close() noexcept {
    if (!conn_) return;
    settle([this] {
        rollbackHere();
        cancel_.reset();
        conn_.reset();
    });
}

void PostgresCopySession::begin() {
    const Result result = run(whileWaiting_, idle(), QStringLiteral("BEGIN"), {});
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throwResultError(result.get());
    inTransaction_ = true;
}

void PostgresCopySession::execute(const QString& sql) {
    const Result result = run(whileWaiting_, idle(), sql, canceller());
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throwResultError(result.get());
}

void PostgresCopySession::startCopy(const QString& copyStatement, const QString& table) {
    const Result result = run(whileWaiting_, idle(), copyStatement, canceller());
    if (PQresultStatus(result.get()) != PGRES_COPY_IN) throwResultError(result.get());
    copying_ = true;
    copyTable_ = table;
}

void PostgresCopySession::putRows(const QByteArray& rows) {
    pg_conn* conn = idle();
    if (!copying_) throw DbError(QStringLiteral("No copy is in progress."));
    if (rows.isEmpty()) return;
    sent_ = rows;
    // Sending waits whenever the server falls behind storing the rows; the caller waits
    // only when it has the next rows ready before these have gone.
    sending_.start([conn, &rows = std::as_const(sent_)] {
        for (qsizetype at = 0; at < rows.size();) {
            const int piece = static_cast<int>(std::min(kPieceBytes, rows.size() - at));
            int sent = 0;
            while ((sent = PQputCopyData(conn, rows.constData() + at, piece)) == 0)
                waitUntilWritable(conn);
            if (sent < 0) throwConnectionError(conn);
            at += piece;
        }
    });
}

std::int64_t PostgresCopySession::endCopy() {
    pg_conn* conn = idle();
    if (!copying_) throw DbError(QStringLiteral("No copy is in progress."));
    // Every result up to the last, so the connection is ready for the next statement.
    Result failure;
    std::int64_t rows = 0;
    whileWaiting_.run(
        [&] {
            int sent = 0;
            while ((sent = PQputCopyEnd(conn, nullptr)) == 0) waitUntilWritable(conn);
            copying_ = false;
            if (sent < 0) throwConnectionError(conn);
            while (Result result{PQgetResult(conn)}) {
                if (PQresultStatus(result.get()) == PGRES_COMMAND_OK)
                    rows = std::strtoll(PQcmdTuples(result.get()), nullptr, 10);
                else if (!failure)
                    failure = std::move(result);
            }
        },
        canceller());
    if (failure)
        throw PostgresCopyError(
            serverText(PQresultErrorMessage(failure.get())),
            resultField(failure.get(), PG_DIAG_SQLSTATE),
            copyLineOf(resultField(failure.get(), PG_DIAG_CONTEXT), copyTable_));
    return rows;
}

void PostgresCopySession::commit() {
    const Result result = run(whileWaiting_, idle(), QStringLiteral("COMMIT"), {});
    inTransaction_ = false;
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throwResultError(result.get());
    // A transaction in which a statement failed answers COMMIT with ROLLBACK, no error.
    if (std::strcmp(PQcmdStatus(result.get()), "COMMIT") != 0)
        throw DbError(QStringLiteral(
            "PostgreSQL rolled the transaction back instead of committing it: a statement in "
            "it had failed."));
}

void PostgresCopySession::rollback() noexcept {
    if (conn_) settle([this] { rollbackHere(); });
}

void PostgresCopySession::rollbackHere() noexcept {
    pg_conn* conn = conn_.get();
    if (!conn) return;
    awaitSendingHere();
    if (copying_) {
        // The server ends the copy with an error and keeps none of its rows.
        if (PQputCopyEnd(conn, "The copy was cancelled.") > 0)
            while (PGresult* result = PQgetResult(conn)) PQclear(result);
        copying_ = false;
    }
    if (inTransaction_) {
        PQclear(PQexec(conn, "ROLLBACK"));
        inTransaction_ = false;
    }
}

std::int64_t copyLineOf(const QString& errorContext, const QString& table) {
    // "COPY t, line 3, column b: ..." or "COPY t, line 3: ..."; the word for "line" is
    // in the server's language.
    const QString head = QStringLiteral("COPY ") + table + QStringLiteral(", ");
    for (const QString& line : errorContext.split(u'\n')) {
        if (!line.startsWith(head)) continue;
        qsizetype at = head.size();
        while (at < line.size() && line[at].isLetter()) ++at;
        while (at < line.size() && line[at] == u' ') ++at;
        const qsizetype digits = at;
        while (at < line.size() && line[at] >= u'0' && line[at] <= u'9') ++at;
        if (at == digits) continue;
        bool isNumber = false;
        const std::int64_t row =
            QStringView(line).sliced(digits, at - digits).toLongLong(&isNumber);
        if (isNumber) return row;
    }
    return 0;
}

}  // namespace dorvane::db
