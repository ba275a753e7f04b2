#include "db/odbc/row_source.h"

#include "db/odbc/error_texts.h"
#include "db/values/db_error.h"

namespace dorvane::db {

RowSource::RowSource(std::vector<FieldInfo> fields)
    : fields_(std::move(fields)), current_(fields_.size()) {}

RowSource::~RowSource() = default;

void RowSource::start() {
    position_ = -1;
    advance();
}

const Value& RowSource::value(int index) const {
    if (index < 0 || index >= static_cast<int>(fields_.size())) throw DbError(kItemNotFound);
    if (eof()) throw DbError(kNoCurrentRecord);
    return current_[static_cast<std::size_t>(index)];
}

int RowSource::fieldIndex(const QString& name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

void RowSource::moveNext() {
    if (eof()) throw DbError(kNoCurrentRecord);
    advance();
}

void RowSource::advance() {
    ++position_;
    try {
        if (eof())
            checkEnd();
        else
            readRow(current_);
    } catch (...) {
        // Without its values the row cannot be current, nor can any after it.
        position_ = recordCount();
        throw;
    }
}

BufferedRows::BufferedRows(std::vector<FieldInfo> fields, RowBuffer rows)
    : RowSource(std::move(fields)), rows_(std::move(rows)) {
    rows_.startReading();
    start();
}

}  // namespace dorvane::db
