#include "db/values/connection_strings.h"

namespace dorvane::db {

QString connectionStringValue(const QString& value) {
    const bool needsBraces = value.contains(u';') || value.contains(u'{') || value.contains(u'}') ||
                             value.contains(u'=') || value.startsWith(u' ') || value.endsWith(u' ');
    if (!needsBraces) return value;
    QString escaped = value;
    escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

namespace {
QString mssqlString(const MssqlProfile& p, const QString& server) {
    return QStringLiteral("Driver={SQL Server};Server=") + server + QStringLiteral(";Database=") +
           connectionStringValue(p.database) + QStringLiteral(";Uid=") +
           connectionStringValue(p.user) + QStringLiteral(";Pwd=") +
           connectionStringValue(p.password) + u';';
}
}  // namespace

QString mssqlLocalConnectionString(const MssqlProfile& p) {
    return mssqlString(p, connectionStringValue(p.server));
}

QString mssqlPortConnectionString(const MssqlProfile& p) {
    // Server and port form one value: it is braced as a whole when either part needs it.
    return mssqlString(p, connectionStringValue(p.server + u',' + p.port));
}

QString mssqlConnectionString(const MssqlProfile& p) {
    return p.localConnection ? mssqlLocalConnectionString(p) : mssqlPortConnectionString(p);
}

QString postgresConnectionString(const PostgresProfile& p) {
    return QStringLiteral("Driver={PostgreSQL Unicode};Server=") + connectionStringValue(p.server) +
           QStringLiteral(";Port=") + connectionStringValue(p.port) + QStringLiteral(";Uid=") +
           connectionStringValue(p.user) + QStringLiteral(";Pwd=") +
           connectionStringValue(p.password) + QStringLiteral(";Database=") +
           connectionStringValue(p.database);
}

}  // namespace dorvane::db
