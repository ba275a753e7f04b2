#pragma once
// Where a table goes: its statements (the DROP, the CREATE TABLE) on the target server and
// then its rows, handed one by one to the target's writer. The copy row by row sends an
// INSERT per row as it goes; a fast copy's targets hold the whole table in one transaction
// and take many rows at once, each in its own way.

#include <QString>
#include <cstdint>
#include <memory>

#include "db/odbc/recordset.h"
#include "db/values/value.h"

namespace dorvane::transfer {

// The source's current row, as the statement builders read a row.
struct SourceRowValues {
    const db::Recordset& source;
    int fieldCount() const { return source.fieldCount(); }
    const db::Value& value(int index) const { return source.value(index); }
};

class TableRowWriter {
  public:
    virtual ~TableRowWriter() = default;
    // Between rows, before the next is begun: reports a refusal of earlier rows that has
    // come in meanwhile, where the writer reports them itself.
    virtual void beforeRow() {}
    // Takes row `rowNumber` (from 1) and checks each of its values against what the target
    // can hold. Rows taken before may be sent meanwhile; a refusal of theirs is thrown here
    // or by finish, naming the table and the rows (a RowsRefused, refused_rows.h).
    virtual void write(const SourceRowValues& row, std::int64_t rowNumber) = 0;
    // Sends what is still held and waits until the server has taken every row; throws
    // the first refusal.
    virtual void finish() = 0;
    // After a failure or a stop: nothing more is sent, and the connection is free once
    // this returns, for the rollback.
    virtual void abandon() noexcept = 0;
    // The statement the rows go by now, as a report quotes it: "COPY "t" FROM STDIN".
    virtual QString statementText() const = 0;
};

class TableTarget {
  public:
    virtual ~TableTarget() = default;
    // The table and all its rows are one transaction: it begins before the DROP, commits
    // after the last row, and the first failure or a stop undoes it. Otherwise only a DROP
    // and its CREATE TABLE are one, and each row goes as it comes.
    virtual bool allOrNothing() const { return true; }
    // Throws when the server refuses.
    virtual void begin() = 0;
    // One statement in the transaction, if one has begun; throws the server's refusal.
    virtual void execute(const QString& sql) = 0;
    // After a refused first statement: the transaction begins again, as PostgreSQL takes
    // nothing more in one with a failed statement. Throws when it cannot.
    virtual void restart() = 0;
    // The writer of the rows, once the table is created.
    virtual std::unique_ptr<TableRowWriter> rowWriter() = 0;
    // Throws when the server did not commit; nothing is left open then.
    virtual void commit() = 0;
    // Undoes everything since the begin; nothing when the transaction has ended.
    virtual void rollback() noexcept = 0;
    // After the server or its driver would not take a table's rows by bulk load: the
    // writers made from now on, for the run's later tables too, send INSERT statements.
    virtual void refuseBulkLoad() {}
    // True once bulk load was refused in the run.
    virtual bool bulkLoadRefused() const { return false; }
};

}  // namespace dorvane::transfer
