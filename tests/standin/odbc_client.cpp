#include "odbc_client.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace standin_test {

OdbcError::OdbcError(const std::string& call, std::vector<Diagnostic> r)
    : std::runtime_error(call + " failed" +
                         (r.empty() ? std::string()
                                    : ": [" + r[0].sqlState + "] " +
                                          std::to_string(r[0].nativeError) + " " + r[0].message)),
      records(std::move(r)) {}

std::string utf16ToUtf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string utf8ToUtf16(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < s.size(); ++k) c = (c << 6) | (s[i + k] & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::vector<Diagnostic> diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<Diagnostic> out;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[4096] = {};
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, message, 4096, &length);
        if (!SQL_SUCCEEDED(rc)) break;
        out.push_back({utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(state))), native,
                       utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(message)))});
    }
    return out;
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const std::string& call) {
    if (!SQL_SUCCEEDED(rc)) throw OdbcError(call, diagnostics(type, handle));
}

ConnectionDetails detailsFromEnvironment() {
    auto get = [](const char* name) {
        const char* v = std::getenv(name);
        if (!v || !*v) {
            throw std::runtime_error(std::string(name) +
                                     " is not set: run the test under scripts/with-servers.sh");
        }
        return std::string(v);
    };
    return {get("DORVANE_MSSQL_HOST"), get("DORVANE_MSSQL_PORT"), get("DORVANE_MSSQL_USER"),
            get("DORVANE_MSSQL_PASSWORD"), get("DORVANE_MSSQL_DATABASE")};
}

std::string connectionString(const ConnectionDetails& d) {
    return "Driver={SQL Server};Server=" + d.host + ";Port=" + d.port + ";Database=" + d.database +
           ";Uid=" + d.user + ";Pwd={" + d.password + "};TDS_Version=7.4;ClientCharset=UTF-8;";
}

Connection::Connection(const ConnectionDetails& details, int timeoutSeconds,
                       const Attributes& beforeConnect) {
    check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_), SQL_HANDLE_ENV, env_,
          "SQLAllocHandle(ENV)");
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    check(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_), SQL_HANDLE_ENV, env_, "SQLAllocHandle(DBC)");
    SQLSetConnectAttrW(dbc_, SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(timeoutSeconds)), 0);
    SQLSetConnectAttrW(dbc_, SQL_ATTR_CONNECTION_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(timeoutSeconds)), 0);
    std::string failedCall;
    for (const auto& attribute : beforeConnect) {
        SQLRETURN rc = SQLSetConnectAttrW(
            dbc_, attribute.first, reinterpret_cast<SQLPOINTER>(attribute.second), SQL_IS_UINTEGER);
        if (!SQL_SUCCEEDED(rc) && failedCall.empty()) {
            failedCall = "SQLSetConnectAttrW(" + std::to_string(attribute.first) + ")";
        }
    }
    std::u16string text = utf8ToUtf16(connectionString(details));
    SQLRETURN rc = failedCall.empty()
                       ? SQLDriverConnectW(dbc_, nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
                                           static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                           nullptr, SQL_DRIVER_NOPROMPT)
                       : SQL_ERROR;
    if (!SQL_SUCCEEDED(rc)) {
        OdbcError error(failedCall.empty() ? "SQLDriverConnectW" : failedCall,
                        diagnostics(SQL_HANDLE_DBC, dbc_));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        throw error;
    }
    connected_ = true;
}

Connection::~Connection() {
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

std::vector<Diagnostic> Connection::exec(const std::string& sql) {
    Statement s(*this);
    return s.execute(sql);
}

std::vector<Row> Connection::query(const std::string& sql) {
    Statement s(*this);
    s.execute(sql);
    return s.fetchAll();
}

void Connection::dropTableIfExists(const std::string& name) {
    try {
        exec("DROP TABLE " + name);
    } catch (const OdbcError& e) {
        if (e.first().nativeError != 3701) throw;
    }
}

void Connection::setAutocommit(bool on) {
    auto value = static_cast<SQLULEN>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF);
    check(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), 0),
          SQL_HANDLE_DBC, dbc_, "SQLSetConnectAttrW(SQL_ATTR_AUTOCOMMIT)");
}

void Connection::endTransaction(SQLSMALLINT completion) {
    check(SQLEndTran(SQL_HANDLE_DBC, dbc_, completion), SQL_HANDLE_DBC, dbc_, "SQLEndTran");
}

Statement::Statement(Connection& connection, int timeoutSeconds) {
    check(SQLAllocHandle(SQL_HANDLE_STMT, connection.handle(), &stmt_), SQL_HANDLE_DBC,
          connection.handle(), "SQLAllocHandle(STMT)");
    SQLSetStmtAttrW(stmt_, SQL_ATTR_QUERY_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(timeoutSeconds)), 0);
}

Statement::~Statement() {
    SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

std::vector<Diagnostic> Statement::execute(const std::string& sql) {
    std::u16string text = utf8ToUtf16(sql);
    SQLRETURN rc = SQLExecDirectW(stmt_, reinterpret_cast<SQLWCHAR*>(text.data()),
                                  static_cast<SQLINTEGER>(text.size()));
    if (rc == SQL_NO_DATA) return {};
    check(rc, SQL_HANDLE_STMT, stmt_, "SQLExecDirectW");
    return rc == SQL_SUCCESS_WITH_INFO ? diagnostics(SQL_HANDLE_STMT, stmt_)
                                       : std::vector<Diagnostic>{};
}

std::vector<ColumnInfo> Statement::columns() {
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(stmt_, &count), SQL_HANDLE_STMT, stmt_, "SQLNumResultCols");
    std::vector<ColumnInfo> out;
    for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
        SQLWCHAR name[512] = {};
        SQLSMALLINT nameLength = 0, nullable = 0;
        ColumnInfo c;
        check(SQLDescribeColW(stmt_, i, name, 512, &nameLength, &c.sqlType, &c.size,
                              &c.decimalDigits, &nullable),
              SQL_HANDLE_STMT, stmt_, "SQLDescribeColW");
        c.name = utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(name)));
        out.push_back(c);
    }
    return out;
}

std::string Statement::typeName(SQLUSMALLINT column) {
    SQLWCHAR name[256] = {};
    SQLSMALLINT length = 0;
    check(SQLColAttributeW(stmt_, column, SQL_DESC_TYPE_NAME, name, sizeof name, &length, nullptr),
          SQL_HANDLE_STMT, stmt_, "SQLColAttributeW(SQL_DESC_TYPE_NAME)");
    return utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(name)));
}

bool Statement::fetch() {
    SQLRETURN rc = SQLFetch(stmt_);
    if (rc == SQL_NO_DATA) return false;
    check(rc, SQL_HANDLE_STMT, stmt_, "SQLFetch");
    return true;
}

namespace {

// A column read piece by piece until SQLGetData has given all of it; nothing for NULL.
// A text piece ends in a terminator, so a full buffer holds one unit less.
template <class Unit, size_t kUnits>
std::optional<std::basic_string<Unit>> readInPieces(SQLHSTMT stmt, SQLUSMALLINT column,
                                                    SQLSMALLINT cType, size_t terminatorUnits) {
    std::basic_string<Unit> value;
    for (;;) {
        Unit buffer[kUnits];
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(stmt, column, cType, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) break;
        check(rc, SQL_HANDLE_STMT, stmt, "SQLGetData");
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        const size_t room = kUnits - terminatorUnits;
        const size_t units = indicator == SQL_NO_TOTAL
                                 ? room
                                 : std::min(room, static_cast<size_t>(indicator) / sizeof(Unit));
        value.append(buffer, units);
        if (rc == SQL_SUCCESS) break;
    }
    return value;
}

}  // namespace

Cell Statement::text(SQLUSMALLINT column) {
    const auto value = readInPieces<char16_t, 2048>(stmt_, column, SQL_C_WCHAR, 1);
    if (!value) return std::nullopt;
    return utf16ToUtf8(*value);
}

Cell Statement::binary(SQLUSMALLINT column) {
    return readInPieces<char, 4096>(stmt_, column, SQL_C_BINARY, 0);
}

std::vector<Row> Statement::fetchAll() {
    auto count = static_cast<SQLUSMALLINT>(columns().size());
    std::vector<Row> rows;
    while (fetch()) {
        Row row;
        for (SQLUSMALLINT c = 1; c <= count; ++c) row.push_back(text(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

SQLLEN Statement::rowCount() {
    SQLLEN count = 0;
    check(SQLRowCount(stmt_, &count), SQL_HANDLE_STMT, stmt_, "SQLRowCount");
    return count;
}

std::string uniqueName(const std::string& stem) {
    return stem + "_" + std::to_string(::getpid());
}

}  // namespace standin_test
