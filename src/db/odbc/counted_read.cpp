#include "db/odbc/counted_read.h"

#include "db/odbc/fetch_window.h"
#include "db/odbc/odbc_connection.h"
#include "db/odbc/result_reader.h"
#include "db/odbc/streamed_rows.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

std::int64_t countIn(RowSource& counted) {
    if (counted.fields().size() != 1 || counted.recordCount() != 1)
        throw DbError(QStringLiteral("The row count came back in an unexpected shape."));
    const Value& value = counted.value(0);
    if (value.kind() == Value::Kind::Integer) return value.asInteger();
    // A driver may give the count as exact digits.
    const bool digits = value.kind() == Value::Kind::Decimal || value.kind() == Value::Kind::Text;
    bool ok = false;
    const qlonglong count = digits ? value.asString().toLongLong(&ok) : -1;
    if (!ok || count < 0) throw DbError(QStringLiteral("The row count is not a number."));
    return count;
}

}  // namespace

std::unique_ptr<RowSource> openCounted(OdbcConnection& connection, ServerKind kind,
                                       const QString& sql, int queryTimeoutSeconds,
                                       std::size_t rowMemoryBound, ReaderPriority priority,
                                       std::shared_ptr<RowStream>& stream) {
    if (!offersSnapshots(kind)) return nullptr;
    const auto rollBack = [&] {
        try {
            endSnapshot(connection, kind, queryTimeoutSeconds, false);
        } catch (const DbError&) {  // reading the rows whole reports what matters
        }
    };
    std::int64_t count = 0;
    try {
        beginSnapshot(connection, kind, queryTimeoutSeconds);
        count = countIn(*executeReading(connection, kind, countStatement(kind, sql),
                                        queryTimeoutSeconds, rowMemoryBound));
    } catch (const DbError&) {
        rollBack();
        return nullptr;
    }

    auto window = std::make_unique<FetchWindow>(connection, kind);
    DescribedColumns columns;
    OdbcHandle statement;
    try {
        statement = executeForRows(connection, kind, sql, queryTimeoutSeconds, columns);
        if (columns.fields.empty()) {
            finishResults(statement.get());
            statement = OdbcHandle();
            endSnapshot(connection, kind, queryTimeoutSeconds, true);
            return std::make_unique<BufferedRows>(std::vector<FieldInfo>(),
                                                  RowBuffer(rowMemoryBound));
        }
    } catch (const DbError&) {
        statement = OdbcHandle();
        rollBack();
        throw;
    }
    auto endTransaction = [&connection, kind, queryTimeoutSeconds](bool commit) {
        endSnapshot(connection, kind, queryTimeoutSeconds, commit);
    };
    stream = std::make_shared<RowStream>(connection.handle(), std::move(statement),
                                         std::move(columns.kinds), count, std::move(endTransaction),
                                         rowMemoryBound, std::move(window));
    stream->start(priority);
    return std::make_unique<StreamedRows>(std::move(columns.fields), count, stream);
}

}  // namespace dorvane::db
