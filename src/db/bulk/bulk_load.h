#pragma once
// Rows loaded into a SQL Server table by TDS bulk load (FreeTDS's bulk copy over ODBC),
// inside whatever transaction the connection holds. The driver writes a row as it converts
// its values, so a conversion that fails leaves half a row sent: callers hand over values
// that cannot fail (see BulkForm).

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include <sql.h>

namespace dorvane::db {

class OdbcConnection;

// How a value is handed to the driver. Text is converted from UTF-8 to the column's
// character set and Numeric to the column's decimal; every other form must be the column's
// own type, which then goes as it is.
enum class BulkForm {
    Text,     // UTF-8
    Bytes,    // for a binary column
    TinyInt,  // integers in the machine's order, of 1, 2, 4 and 8 bytes
    SmallInt,
    Int,
    BigInt,
    Bit,       // one byte, 0 or 1
    Float,     // a double
    Numeric,   // a decimal's plain text (ASCII), which the column holds without rounding
    Datetime,  // two 32-bit integers: days from 1900-01-01, 1/300 s from midnight
};

class BulkLoad {
  public:
    // Starts a load into `table`, written as in a statement (quoted), of its `columns`
    // columns in order. Throws when the driver is not one that reads freetds_bulk_copy_abi.h
    // (freetds_bulk_copy_check.h), the server does not know the table, or the connection
    // was opened without asking for bulk copy (OdbcConnection does for FreeTDS).
    BulkLoad(OdbcConnection& connection, const QString& table, int columns);
    // Ends a load still under way; its rows then stand as far as the transaction does.
    ~BulkLoad();
    BulkLoad(const BulkLoad&) = delete;
    BulkLoad& operator=(const BulkLoad&) = delete;

    // The current row's value of `column` (from 0).
    void setNull(int column);
    void set(int column, BulkForm form, QByteArrayView data);
    // Sends the current row; throws the driver's refusal of one of its values.
    void sendRow();
    // Ends the load; throws when the server refused it. The rows it took.
    std::int64_t finish();

  private:
    // One column's value as the driver reads it: a 4-byte length (-1: NULL), the bytes.
    struct Slot {
        std::string data;
        const char* boundAt = nullptr;
        int hostType = 0;
    };
    void bind(int column);

    SQLHDBC dbc_;
    std::vector<Slot> slots_;
    bool finished_ = false;
};

}  // namespace dorvane::db
