#pragma once
// freetds_bulk_copy_abi.h copies an interface no installed header declares, so before a
// bulk load starts the driver behind the connection is checked to be one that reads it:
// FreeTDS's ODBC driver, taking the parameter blocks through its own SQLSetConnectAttrW.
// The blocks' layouts cannot be read from the driver (it exports no type information);
// what can be checked is which driver it is and what it exports.

#include <QString>
#include <optional>

#include <sql.h>

namespace dorvane::db {

struct BulkCopyDriver {
    QString name;  // as the driver names itself, with its version
    // Whether it answers FreeTDS's own information type (1300, its TDS version), which
    // other drivers refuse.
    bool answersFreeTdsInfo = false;
    QString file;  // the library; empty when it was not found among those loaded
    bool exportsSetConnectAttrW = false;
    // A driver exporting bcp_initW offers bulk copy as functions, Microsoft's way, and
    // reads the attributes 1500 to 1508 as something else or not at all.
    bool exportsBcpInitW = false;
};

// What the driver of the connection `dbc` is and exports.
BulkCopyDriver bulkCopyDriverOf(SQLHDBC dbc);
// Reads what `driver.file` exports (loading it if it is not loaded yet).
void readExports(BulkCopyDriver& driver);
// What differs from the interface the bulk load uses, in a sentence; nothing when the
// driver matches.
std::optional<QString> bulkCopyMismatch(const BulkCopyDriver& driver);

}  // namespace dorvane::db
