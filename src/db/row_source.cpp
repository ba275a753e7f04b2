#include "db/row_source.h"

#include "db/db_error.h"
#include "db/error_texts.h"

namespace dorvane::db {

RowSource::RowSource(std::vector<FieldInfo> fields, RowBuffer rows)
    : fields_(std::move(fields)), rows_(std::move(rows)), current_(fields_.size()) {
    rows_.startReading();
    if (!eof()) rows_.readRow(current_);
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
    ++position_;
    if (!eof()) rows_.readRow(current_);
}

}  // namespace dorvane::db
