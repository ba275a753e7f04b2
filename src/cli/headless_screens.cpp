#include "cli/headless_screens.h"

#include "cli/profile_fields.h"
#include "db/odbc/ado.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "screens/connection_settings.h"

namespace dorvane::cli {
namespace {

QString withoutPassword(QString reason, const QString& password) {
    if (!password.isEmpty()) reason.replace(password, QStringLiteral("********"));
    return reason;
}

std::optional<QString> openingFailure(const QString& connectionString, const QString& password) {
    try {
        db::Connection connection;
        connection.open(connectionString);
        connection.close();
        return std::nullopt;
    } catch (const std::exception& e) {
        return withoutPassword(QString::fromUtf8(e.what()), password);
    }
}

}  // namespace

HeadlessScreens::HeadlessScreens(screens::AppContext& app, core::ProgressBar& progressBar,
                                 const ProfileValues& profile)
    : app_(app),
      connectionControls_{connectionWindow_, {}, localConnection_},
      transferControls_{mssqlTables_,
                        postgresTables_,
                        customizeToPostgres_,
                        customizeToSqlServer_,
                        progressBar,
                        transferWindow_,
                        &fastCopyToPostgres_,
                        &fastCopyToSqlServer_,
                        &naturalTypesToPostgres_,
                        &naturalTypesToSqlServer_},
      connectionScreen_(app, connectionControls_),
      customizationDialog_(app.platform, connectionScreen_, customizationCancelled_),
      transferScreen_(app, transferWindow_, transferControls_, connectionScreen_,
                      customizationDialog_, customizationCancelled_) {
    connectionScreen_.attachTransferScreen(transferScreen_);
    // The fields get no change handler: the command's values are never saved.
    std::size_t next = 0;
    for (const ProfileField& field : kProfileFields) {
        const QString value =
            profile.value(QString::fromLatin1(screens::connectionSetting(field.field).key));
        if (field.field == screens::kLocalConnectionBox) {
            localConnection_.setValue(screens::boxValueFromSetting(value));
            continue;
        }
        connectionControls_.fields.*field.field = &texts_[next];
        texts_[next++].setText(value);
    }
}

std::optional<QString> HeadlessScreens::connectionFailure(Server server) const {
    if (server == Server::Postgres) {
        const db::PostgresProfile profile = connectionScreen_.postgres();
        return openingFailure(db::postgresConnectionString(profile), profile.password);
    }
    const db::MssqlProfile profile = connectionScreen_.mssql();
    return openingFailure(db::mssqlConnectionString(profile), profile.password);
}

void HeadlessScreens::listTables(Server server) {
    // The first use of the transfer screen runs its load step, as "Next >" has it.
    transferScreen_.controls();
    screens::showTableNames(
        tables(server),
        server == Server::Postgres
            ? app_.databases.postgresTableNames(connectionScreen_.postgres(), {})
            : app_.databases.mssqlTableNames(connectionScreen_.mssql(), {}),
        app_.platform);
}

core::ListBox& HeadlessScreens::tables(Server server) {
    return server == Server::Postgres ? static_cast<core::ListBox&>(postgresTables_) : mssqlTables_;
}

QStringList HeadlessScreens::postgresCatalogueTables() const {
    const QString ownSchemas = QStringLiteral("('pg_catalog', 'information_schema')");
    db::Connection connection;
    connection.setCursorLocation(db::kUseClient);
    connection.open(db::postgresConnectionString(connectionScreen_.postgres()));
    // A user's table named as a catalogue is still the user's.
    db::Recordset names = connection.query(
        QStringLiteral("select tablename from pg_tables where schemaname in %1 except "
                       "select tablename from pg_tables where schemaname not in %1;")
            .arg(ownSchemas));
    QStringList catalogues;
    while (!names.eof()) {
        catalogues << names.value(0).asString();
        names.moveNext();
    }
    return catalogues;
}

}  // namespace dorvane::cli
