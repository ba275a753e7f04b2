#include "db/values/driver_connection_string.h"

#include "db/values/connection_string_items.h"

namespace dorvane::db {
namespace {

void adaptForFreeTds(ConnectionItems& items) {
    // FreeTDS puts a "host,port" server into the login packet with a NUL where the comma
    // was; it connects correctly when given host and port as separate items.
    const QString server = items.value(QStringLiteral("Server"));
    const qsizetype comma = server.lastIndexOf(u',');
    if (comma >= 0 && !items.contains(QStringLiteral("Port"))) {
        items.set(QStringLiteral("Server"), server.left(comma).trimmed());
        items.set(QStringLiteral("Port"), server.mid(comma + 1).trimmed());
    }
    items.set(QStringLiteral("TDS_Version"), QStringLiteral("7.4"));
    items.set(QStringLiteral("ClientCharset"), QStringLiteral("UTF-8"));
    // FreeTDS limits text, ntext, image and the (max) types to its default text size
    // (a few KB to 64 KB by build) and cuts longer values silently; lift it to the maximum.
    items.set(QStringLiteral("TextSize"), QStringLiteral("2147483647"));
}

void adaptForPsqlOdbc(ConnectionItems& items) {
    // Without its cursor mode psqlODBC holds a whole result in memory before the first
    // row is handed over, so every row would be held twice.
    items.setDefault(QStringLiteral("UseDeclareFetch"), QStringLiteral("1"));
    items.setDefault(QStringLiteral("Fetch"), QString::number(kPostgresFetchRows));
    // psqlODBC hands money over in the session's lc_monetary format; the C format
    // ("-$1,234.56") is the one the money normalisation reads.
    items.setDefault(QStringLiteral("ConnSettings"), QStringLiteral("SET lc_monetary TO 'C'"));
}

bool isFreeTds(const ConnectionItems& items) {
    return items.value(QStringLiteral("Driver"))
               .trimmed()
               .compare(QStringLiteral("SQL Server"), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool namesFreeTds(const QString& connectionString) {
    return isFreeTds(ConnectionItems::parse(connectionString));
}

QString adaptConnectionString(const QString& connectionString) {
    ConnectionItems items = ConnectionItems::parse(connectionString);
    const QString driver = items.value(QStringLiteral("Driver")).trimmed();
    if (isFreeTds(items)) {
        adaptForFreeTds(items);
    } else if (driver.contains(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive)) {
        adaptForPsqlOdbc(items);
    } else {
        return connectionString;
    }
    return items.toString();
}

}  // namespace dorvane::db
