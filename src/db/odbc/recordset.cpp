#include "db/odbc/recordset.h"

#include "db/odbc/connection.h"
#include "db/odbc/error_texts.h"
#include "db/odbc/row_source.h"
#include "db/values/db_error.h"

namespace dorvane::db {

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::Recordset(std::unique_ptr<RowSource> rows) : rows_(std::move(rows)) {}

namespace {
RowSource& openRows(const std::unique_ptr<RowSource>& rows) {
    if (!rows) throw DbError(kObjectClosed);
    return *rows;
}
}  // namespace

void Recordset::open(const QString& sql, Connection& connection, int, int) {
    if (rows_) throw DbError(kObjectOpen);
    *this = connection.query(sql);
}

int Recordset::state() const {
    return rows_ ? kStateOpen : kStateClosed;
}

int Recordset::fieldCount() const {
    return static_cast<int>(openRows(rows_).fields().size());
}

const FieldInfo& Recordset::field(int index) const {
    const auto& fields = openRows(rows_).fields();
    if (index < 0 || index >= static_cast<int>(fields.size())) throw DbError(kItemNotFound);
    return fields[static_cast<std::size_t>(index)];
}

const Value& Recordset::value(int index) const {
    return openRows(rows_).value(index);
}

const Value& Recordset::value(const QString& fieldName) const {
    const RowSource& rows = openRows(rows_);
    const int index = rows.fieldIndex(fieldName);
    if (index < 0) throw DbError(kItemNotFound);
    return rows.value(index);
}

std::int64_t Recordset::recordCount() const {
    return openRows(rows_).recordCount();
}

bool Recordset::eof() const {
    return openRows(rows_).eof();
}

void Recordset::moveNext() {
    openRows(rows_).moveNext();
}

void Recordset::close() {
    const WhileWaiting whileWaiting = openRows(rows_).whileWaiting();
    // Ending a reading still under way waits on the server, and giving back the memory of
    // large rows takes a while too; the temporary file, if the rows needed one, goes as well.
    std::unique_ptr<RowSource> rows = std::move(rows_);
    runWhileWaiting([&rows] { rows.reset(); }, whileWaiting);
}

}  // namespace dorvane::db
