// Connection strings built from any field values read back, with the ODBC rules, as
// exactly those values under exactly the expected keywords; and stay so once adapted
// for the driver.

#include "db/values/connection_string_items.h"
#include "db/values/connection_strings.h"
#include "db/values/driver_connection_string.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

using namespace dorvane;
using namespace dorvane::fuzz;

namespace {

using Expected = std::vector<std::pair<QString, QString>>;

QString show(const db::ConnectionItems& items) {
    QString s;
    for (const auto& item : items.items()) s += item.key + u'=' + u'<' + item.value + u'>' + u' ';
    return s;
}

void checkItems(const QString& built, const Expected& expected) {
    const db::ConnectionItems items = db::ConnectionItems::parse(built);
    bool same = items.items().size() == expected.size();
    for (std::size_t i = 0; same && i < expected.size(); ++i)
        same = items.items()[i].key == expected[i].first &&
               items.items()[i].value == expected[i].second;
    require(same, "every field comes back exactly, and nothing else",
            built + QStringLiteral("\nparsed: ") + show(items));

    // Put together again and taken apart again: still the same items.
    const db::ConnectionItems again = db::ConnectionItems::parse(items.toString());
    bool stable = again.items().size() == items.items().size();
    for (std::size_t i = 0; stable && i < expected.size(); ++i)
        stable = again.items()[i].key == expected[i].first &&
                 again.items()[i].value == expected[i].second;
    require(stable, "a parsed string puts together to the same items", items.toString());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    db::PostgresProfile pg{text(in, 40), text(in, 8), text(in, 40), text(in, 60), text(in, 40)};
    db::MssqlProfile ms{text(in, 40), text(in, 8), text(in, 40), text(in, 60), text(in, 40)};
    ms.localConnection = in.ConsumeBool();

    const QString pgString = db::postgresConnectionString(pg);
    checkItems(pgString, {{QStringLiteral("Driver"), QStringLiteral("PostgreSQL Unicode")},
                          {QStringLiteral("Server"), pg.server},
                          {QStringLiteral("Port"), pg.port},
                          {QStringLiteral("Uid"), pg.user},
                          {QStringLiteral("Pwd"), pg.password},
                          {QStringLiteral("Database"), pg.database}});

    const QString server = ms.localConnection ? ms.server : ms.server + u',' + ms.port;
    const QString msString = db::mssqlConnectionString(ms);
    checkItems(msString, {{QStringLiteral("Driver"), QStringLiteral("SQL Server")},
                          {QStringLiteral("Server"), server},
                          {QStringLiteral("Database"), ms.database},
                          {QStringLiteral("Uid"), ms.user},
                          {QStringLiteral("Pwd"), ms.password}});

    // What the drivers finally read keeps the user's credentials and database untouched.
    for (const QString& built : {pgString, msString}) {
        const auto adapted = db::ConnectionItems::parse(db::adaptConnectionString(built));
        const auto original = db::ConnectionItems::parse(built);
        for (const char* key : {"Uid", "Pwd", "Database"}) {
            const QString k = QString::fromLatin1(key);
            require(adapted.value(k) == original.value(k), "adapting keeps the credentials",
                    built + QStringLiteral("\nadapted: ") + show(adapted));
        }
    }
    return 0;
}
