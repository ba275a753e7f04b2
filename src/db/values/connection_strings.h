#pragma once
// The ODBC connection strings built from the connection screen's fields.

#include <QString>

namespace dorvane::db {

struct PostgresProfile {
    QString server, port, user, password, database;
};

struct MssqlProfile {
    QString server, port, user, password, database;
    bool localConnection = false;  // "Local Connection" ticked: no port
};

// Where commands read the profiles at the moment they open a connection.
class ProfileSource {
  public:
    virtual ~ProfileSource() = default;
    virtual PostgresProfile postgres() const = 0;
    virtual MssqlProfile mssql() const = 0;
};

// A field value as it stands in a connection string. Ordinary values are inserted
// exactly as typed; a value that would change the string's meaning (";", "{", "}",
// "=", or a leading or trailing blank) is enclosed in braces with "}" doubled.
QString connectionStringValue(const QString& value);

QString mssqlLocalConnectionString(const MssqlProfile& p);  // without port
QString mssqlPortConnectionString(const MssqlProfile& p);   // server,port
// The local or the port form, as "Local Connection" says.
QString mssqlConnectionString(const MssqlProfile& p);
QString postgresConnectionString(const PostgresProfile& p);

}  // namespace dorvane::db
