#pragma once
// A thin RAII layer over raw ODBC for driving the FreeTDS driver in tests, with
// wide-character calls as the program makes them.

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace standin_test {

struct Diagnostic {
    std::string sqlState;
    long nativeError = 0;
    std::string message;
};

// A failed ODBC call with all its diagnostic records.
struct OdbcError : std::runtime_error {
    OdbcError(const std::string& call, std::vector<Diagnostic> records);
    std::vector<Diagnostic> records;
    const Diagnostic& first() const { return records.at(0); }
};

struct ConnectionDetails {
    std::string host, port, user, password, database;
};
// From DORVANE_MSSQL_*; throws when any is missing so the test fails.
ConnectionDetails detailsFromEnvironment();
std::string connectionString(const ConnectionDetails& d);

using Cell = std::optional<std::string>;  // UTF-8, nothing for NULL
using Row = std::vector<Cell>;

struct ColumnInfo {
    std::string name;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT decimalDigits = 0;
};

class Statement;

class Connection {
  public:
    // Connection attributes the driver takes only before it connects (number, value).
    using Attributes = std::vector<std::pair<SQLINTEGER, SQLULEN>>;
    explicit Connection(const ConnectionDetails& details, int timeoutSeconds = 10,
                        const Attributes& beforeConnect = {});
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    SQLHDBC handle() const { return dbc_; }
    // Runs statements that return no rows; returns the info diagnostics.
    std::vector<Diagnostic> exec(const std::string& sql);
    // Runs a query and fetches every row as text.
    std::vector<Row> query(const std::string& sql);
    // DROP TABLE that tolerates a missing table.
    void dropTableIfExists(const std::string& bracketedName);
    // SQL_ATTR_AUTOCOMMIT: off, the driver keeps a transaction open until endTransaction.
    void setAutocommit(bool on);
    // SQLEndTran(SQL_COMMIT or SQL_ROLLBACK) on this connection.
    void endTransaction(SQLSMALLINT completion);

  private:
    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
};

class Statement {
  public:
    explicit Statement(Connection& connection, int timeoutSeconds = 20);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    SQLHSTMT handle() const { return stmt_; }
    std::vector<Diagnostic> execute(const std::string& sql);
    std::vector<ColumnInfo> columns();
    // SQL_DESC_TYPE_NAME of a result column (1-based), as the driver names its type.
    std::string typeName(SQLUSMALLINT column);
    bool fetch();
    // The current row's column (1-based) as UTF-8 via SQL_C_WCHAR, read in pieces.
    Cell text(SQLUSMALLINT column);
    Cell binary(SQLUSMALLINT column);
    std::vector<Row> fetchAll();
    SQLLEN rowCount();

  private:
    SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

std::string utf16ToUtf8(const std::u16string& s);
std::u16string utf8ToUtf16(const std::string& s);

// The diagnostics of a failed call, as thrown by check().
void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& call);
std::vector<Diagnostic> diagnostics(SQLSMALLINT type, SQLHANDLE handle);

// A name unique to this process, so concurrent test runs do not meet.
std::string uniqueName(const std::string& stem);

}  // namespace standin_test
