#pragma once
// What the columns of a table created on SQL Server can hold, learnt from the server once
// the table exists, so that the copy refuses a value the server would change or reject
// row by row: a date outside its column's range, text outside the code page of a char or
// varchar column (which the server would turn into '?' or a look-alike), text or bytes
// longer than the column, or a NaN or infinity in a number column.

#include <QString>
#include <memory>
#include <vector>

#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "sql/code_page_fit.h"
#include "sql/value_text.h"

namespace dorvane::transfer {

class SqlServerTargetColumns {
  public:
    // Reads the columns of `table`, and the database's code page the first time.
    void learn(db::Connection& target, const QString& table);
    // Before a table whose columns are not known: nothing is refused.
    void forget() {
        columns_.clear();
        described_.clear();
    }
    // Throws when the column at `index` cannot hold `value` as it is.
    void check(int index, const db::Value& value);
    // True when the column at `index` keeps bytes, which are sent as a binary constant.
    bool holdsBytes(int index) const;
    // How the column at `index` takes a value's text.
    sql::SqlServerTextForm textForm(int index) const;
    // True when the database keeps varchar text in a code page whose table the copy's
    // check and the driver share (glibc's); not for UTF-8 or an unknown one.
    bool codePageShared() const { return codePage_ && codePage_->known(); }
    // The columns as the driver describes them.
    const std::vector<db::FieldInfo>& described() const { return described_; }

  private:
    struct Column {
        QString typeName;   // lower case, as the driver names it
        qint64 length = 0;  // declared characters or bytes; 0 for no limit
    };
    void checkLength(const Column& column, const db::Value& value) const;

    std::vector<Column> columns_;
    std::vector<db::FieldInfo> described_;
    std::unique_ptr<sql::CodePageFit> codePage_;
};

}  // namespace dorvane::transfer
