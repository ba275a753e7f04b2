#pragma once
// Values for the columns of a SQL Server table filled by bulk load, each in its column's
// own form, so that the column holds exactly what the INSERT of the copy row by row would
// make it hold. A value whose outcome only the server's reading of that INSERT can tell
// (a text for a number column, a NULL for a column that takes none, a number the column
// would round, a text or bytes too long for the driver) has no bulk form: its row then goes
// as that INSERT.

#include <QByteArray>
#include <QStringView>
#include <optional>

#include "db/bulk/bulk_load.h"
#include "db/odbc/recordset.h"
#include "db/values/value.h"

namespace dorvane::sql::to_sqlserver {

struct BulkColumn {
    db::BulkForm form = db::BulkForm::Text;
    int precision = 0;  // Numeric: the column's digits
    int scale = 0;
    bool nullable = true;
    // Text for a code page (varchar) that the driver might not convert to as the copy's
    // own check did: ASCII only, the same in every code page.
    bool asciiOnly = false;
};

// True when the CREATE TABLE gives its columns nothing that bulk load treats otherwise than
// an INSERT does: it leaves CHECK and FOREIGN KEY constraints unchecked, puts a column's
// DEFAULT where a NULL was sent, passes over IDENTITY and computed (AS) columns.
bool bulkLoadLikeInserts(QStringView createTable);

// The column as bulk load fills it (`column` as the driver describes it); nothing for a
// type whose values bulk load leaves to INSERTs.
std::optional<BulkColumn> bulkColumn(const db::FieldInfo& column);

enum class BulkCell {
    Value,  // `out` holds the value in the column's form
    Null,
    None,  // no bulk form: the row goes as an INSERT
};
// `out` keeps its memory from value to value.
BulkCell bulkValue(const db::Value& value, const BulkColumn& column, QByteArray& out);

}  // namespace dorvane::sql::to_sqlserver
