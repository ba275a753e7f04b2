#pragma once
// The libpq connection parameters that reach the same server, database and user as a
// psqlODBC connection string, for what ODBC cannot do (COPY ... FROM STDIN).

#include <QByteArray>
#include <QString>
#include <vector>

namespace dorvane::db {

struct LibpqParameter {
    QByteArray keyword;
    QByteArray value;  // UTF-8, exactly as given: libpq reads no syntax in it
    friend bool operator==(const LibpqParameter&, const LibpqParameter&) = default;
};

// Server, Port, Database, Uid and Pwd (or their long names Servername, Username and
// Password), SSLmode, and the libpq options psqlODBC takes in pqopt; the client encoding
// is UTF-8. Later parameters win, so the string's own items win over pqopt. Throws
// DbError when pqopt cannot be read.
std::vector<LibpqParameter> libpqParameters(const QString& odbcConnectionString);

}  // namespace dorvane::db
