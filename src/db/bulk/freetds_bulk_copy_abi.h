#pragma once
// FreeTDS's ODBC driver offers bulk load (TDS packet type 7) through connection attributes
// rather than exported functions: each call is an SQLSetConnectAttr whose value points to a
// parameter block. Debian's driver package ships no header for them, so their numbers and
// layouts are declared here, as the driver reads them.

#include <sql.h>
#include <sqlext.h>

#include "db/odbc/freetds_bulk_copy_switch.h"

namespace dorvane::db::freetds_bcp {

constexpr SQLINTEGER kInitW = 1507;
constexpr SQLINTEGER kColumnPointer = 1502;
constexpr SQLINTEGER kSendRow = 1503;
constexpr SQLINTEGER kDone = 1505;
constexpr SQLINTEGER kBind = 1506;

constexpr int kDirectionIn = 1;
// Host variable types, as TDS numbers them.
constexpr int kHostChar = 47;    // bytes in the client's character set (UTF-8 here)
constexpr int kHostBinary = 45;  // raw bytes
constexpr int kHostInt1 = 48;
constexpr int kHostInt2 = 52;
constexpr int kHostInt4 = 56;
constexpr int kHostInt8 = 127;
constexpr int kHostBit = 50;
constexpr int kHostFloat8 = 62;
constexpr int kHostDatetime = 61;  // days and 1/300 s, two 32-bit integers
// A length prefix of this value marks NULL.
constexpr int kNullLength = -1;
constexpr int kVariableLength = -10;

struct InitParams {
    const void* table;  // SQLWCHAR*, as given to SQLDriverConnectW
    const void* hostFile = nullptr;
    const void* errorFile = nullptr;
    int direction = kDirectionIn;
};

struct ColumnPointerParams {
    const unsigned char* data;
    int tableColumn;  // from 1
};

struct RowCountParams {
    int rows = -1;
};

struct BindParams {
    const unsigned char* data;
    int prefixLength;
    int length;
    const unsigned char* terminator;
    int terminatorLength;
    int hostType;
    int tableColumn;  // from 1
};

}  // namespace dorvane::db::freetds_bcp
