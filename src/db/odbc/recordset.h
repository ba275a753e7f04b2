#pragma once
// The rows of one statement. Every row is fetched when the recordset opens, so the
// record count is exact before the first row is read; rows are kept compactly and
// spill to a temporary file past a memory bound. Reading is forward only.

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "db/values/ado_type.h"
#include "db/values/value.h"

namespace dorvane::db {

class Connection;
class RowSource;

struct FieldInfo {
    QString name;
    AdoType adoType = AdoType::Empty;
    int precision = 0;     // exact numbers: digits in all; text: declared length (0 = max)
    int scale = 0;         // exact numbers: digits after the point
    QString typeName;      // the server's own name of the type, as the driver gives it
    bool nullable = true;  // false only when the driver says the column takes no NULL
};

class Recordset {
  public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Cursor and lock type are accepted as the callers give them; every recordset is
    // read completely on open whatever they are.
    void open(const QString& sql, Connection& connection, int cursorType = -1, int lockType = -1);
    int state() const;

    int fieldCount() const;
    const FieldInfo& field(int index) const;
    // The value of the current row (throws at the end of the rows).
    const Value& value(int index) const;
    const Value& value(const QString& fieldName) const;

    std::int64_t recordCount() const;
    bool eof() const;
    void moveNext();
    void close();

    // For Connection: wraps rows already read.
    explicit Recordset(std::unique_ptr<RowSource> rows);

  private:
    std::unique_ptr<RowSource> rows_;
};

}  // namespace dorvane::db
