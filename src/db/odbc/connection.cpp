#include "db/odbc/connection.h"

#include "db/odbc/connection_opening.h"
#include "db/odbc/counted_read.h"
#include "db/odbc/error_texts.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/recordset.h"
#include "db/odbc/result_reader.h"
#include "db/odbc/row_buffer.h"
#include "db/odbc/transaction.h"
#include "db/values/db_error.h"
#include "db/values/driver_connection_string.h"

namespace dorvane::db {

Connection::Connection() : rowMemoryBound_(kDefaultRowMemoryBound) {}
Connection::~Connection() {
    settleStream();
}

Connection::Connection(Connection&&) noexcept = default;

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        settleStream();
        cursorLocation_ = other.cursorLocation_;
        commandTimeout_ = other.commandTimeout_;
        connectionTimeout_ = other.connectionTimeout_;
        rowMemoryBound_ = other.rowMemoryBound_;
        readAhead_ = other.readAhead_;
        readerPriority_ = other.readerPriority_;
        whileWaiting_ = std::move(other.whileWaiting_);
        odbc_ = std::move(other.odbc_);
        serverKind_ = std::move(other.serverKind_);
        stream_ = std::move(other.stream_);
    }
    return *this;
}

void Connection::settleStream() noexcept {
    if (!stream_) return;
    stream_->settle();  // keeps its errors for the recordset that reads the rows
    stream_.reset();
}

ServerKind Connection::serverKind() {
    if (!serverKind_) serverKind_ = serverKindOf(odbc());
    return *serverKind_;
}

void Connection::setWhileWaiting(WhileWaiting whileWaiting) {
    whileWaiting_.set(std::move(whileWaiting));
}

void Connection::setCursorLocation(int location) {
    if (location != kUseServer && location != kUseClient)
        throw DbError(QStringLiteral("Cursor location %1 is not supported.").arg(location));
    cursorLocation_ = location;
}

void Connection::setCommandTimeout(int seconds) {
    if (seconds < 0) throw DbError(QStringLiteral("A time-out cannot be negative."));
    commandTimeout_ = seconds;
}

void Connection::setConnectionTimeout(int seconds) {
    if (seconds < 0) throw DbError(QStringLiteral("A time-out cannot be negative."));
    if (odbc_) throw DbError(kObjectOpen);
    connectionTimeout_ = seconds;
}

void Connection::open(const QString& connectionString, ConnectionOpening* started) {
    if (odbc_) throw DbError(kObjectOpen);
    odbc_ = whileWaiting_.run([&] {
        if (started && started->opens(connectionString, connectionTimeout_)) return started->take();
        return std::make_unique<OdbcConnection>(adaptConnectionString(connectionString),
                                                connectionTimeout_);
    });
}

int Connection::state() const {
    return odbc_ ? kStateOpen : kStateClosed;
}

OdbcConnection& Connection::odbc() {
    if (!odbc_) throw DbError(kObjectClosed);
    return *odbc_;
}

void Connection::execute(const QString& sql) {
    whileWaiting_.run(
        [&] {
            settleStream();
            executeDiscarding(odbc(), sql, commandTimeout_);
        },
        canceller());
}

Recordset Connection::query(const QString& sql) {
    Recordset rows = whileWaiting_.run(
        [&] {
            settleStream();
            if (readAhead_) {
                // Its first row is waited for here, on the call's own thread.
                if (auto counted = openCounted(odbc(), serverKind(), sql, commandTimeout_,
                                               rowMemoryBound_, readerPriority_, stream_))
                    return Recordset(std::move(counted));
            }
            return Recordset(
                executeReading(odbc(), serverKind(), sql, commandTimeout_, rowMemoryBound_));
        },
        canceller());
    // The rows still being read are waited for where the recordset is read.
    if (stream_) stream_->setWhileWaiting(whileWaiting_.here());
    return rows;
}

Recordset Connection::openSchema(int schema) {
    if (schema != kSchemaTables)
        throw DbError(QStringLiteral("Schema %1 is not supported.").arg(schema));
    return whileWaiting_.run(
        [&] {
            settleStream();
            return Recordset(readTablesCatalogue(odbc(), commandTimeout_, rowMemoryBound_));
        },
        canceller());
}

void Connection::beginTransaction() {
    whileWaiting_.run([&] {
        settleStream();
        db::beginTransaction(odbc(), serverKind(), commandTimeout_);
    });
}

void Connection::endTransaction(bool commit) {
    whileWaiting_.run([&] {
        settleStream();
        db::endTransaction(odbc(), serverKind(), commandTimeout_, commit);
    });
}

void Connection::cancel() noexcept {
    // The connection is neither made nor ended while such a call runs.
    if (odbc_) odbc_->cancelStatements();
}

void Connection::close() {
    if (!odbc_) throw DbError(kObjectClosed);
    whileWaiting_.run([&] {
        settleStream();
        odbc_.reset();
    });
    serverKind_.reset();
}

}  // namespace dorvane::db
