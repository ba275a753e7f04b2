#include "screens_harness.h"

#include <gtest/gtest.h>

#include "db/values/db_error.h"
#include "test_servers.h"

namespace dorvane::testing {

bool RecordingGateway::openPostgresSucceeds(const db::PostgresProfile& profile,
                                            const db::WhileWaiting& whileWaiting) {
    calls.push_back(QStringLiteral("openPostgres"));
    return real_.openPostgresSucceeds(profile, whileWaiting);
}

bool RecordingGateway::openMssqlSucceeds(const db::MssqlProfile& profile,
                                         const db::WhileWaiting& whileWaiting) {
    calls.push_back(QStringLiteral("openMssql"));
    return real_.openMssqlSucceeds(profile, whileWaiting);
}

QStringList RecordingGateway::mssqlTableNames(const db::MssqlProfile& profile,
                                              const db::WhileWaiting& whileWaiting) {
    calls.push_back(QStringLiteral("listMssql"));
    if (failMssqlCatalogue) throw db::DbError(QStringLiteral("Catalogue unavailable"));
    return real_.mssqlTableNames(profile, whileWaiting);
}

QStringList RecordingGateway::postgresTableNames(const db::PostgresProfile& profile,
                                                 const db::WhileWaiting& whileWaiting) {
    calls.push_back(QStringLiteral("listPostgres"));
    if (failPostgresCatalogue) throw db::DbError(QStringLiteral("Catalogue unavailable"));
    return real_.postgresTableNames(profile, whileWaiting);
}

ScreensHarness::ScreensHarness(const QString& settingsFile)
    : store(std::make_unique<core::FileSettingsStore>(
          settingsFile.isEmpty() ? folder.filePath(QStringLiteral("Quenlor.ini")) : settingsFile)),
      app{platform, *store, commands, databases},
      connectionControls{connectionWindow, {}, localConnection},
      transferControls{mssqlTables,
                       postgresTables,
                       customizeToPostgres,
                       customizeToSqlServer,
                       progressBar,
                       transferWindow,
                       &fastCopyToPostgres,
                       &fastCopyToSqlServer,
                       &naturalTypesToPostgres,
                       &naturalTypesToSqlServer},
      connectionScreen(app, connectionControls),
      transferScreen(app, transferWindow, transferControls, connectionScreen, customizationDialog,
                     customizationCancelled) {
    platform.setProgramFolder(folder.path());
    connectionScreen.attachTransferScreen(transferScreen);
    // The windows raise these events; here the memory controls do.
    for (int number = 1; number <= 10; ++number) {
        const screens::ConnectionField field = kFieldsByNumber[number - 1];
        connectionControls.fields.*field = &texts[number - 1];
        texts[number - 1].onChange = [this, field](const QString&) {
            connectionScreen.fieldChanged(field);
        };
    }
    localConnection.onClick = [this] { connectionScreen.localConnectionClicked(); };
    customizeToPostgres.onClick = [this] {
        transferScreen.customizationBoxClicked(screens::TableSide::SqlServer);
    };
    customizeToSqlServer.onClick = [this] {
        transferScreen.customizationBoxClicked(screens::TableSide::Postgres);
    };
    fastCopyToPostgres.onClick = [this] {
        transferScreen.fastCopyBoxClicked(screens::TableSide::SqlServer);
    };
    fastCopyToSqlServer.onClick = [this] {
        transferScreen.fastCopyBoxClicked(screens::TableSide::Postgres);
    };
    naturalTypesToPostgres.onClick = [this] {
        transferScreen.naturalTypesBoxClicked(screens::TableSide::SqlServer);
    };
    naturalTypesToSqlServer.onClick = [this] {
        transferScreen.naturalTypesBoxClicked(screens::TableSide::Postgres);
    };
}

void ScreensHarness::storeServerProfiles() {
    testing::storeServerProfiles(*store);
}

QString ScreensHarness::stored(const char* key) const {
    // A marker no test stores, so an absent key shows as absent.
    return store->get(QString::fromLatin1(key), QStringLiteral("<absent>"));
}

int occurrences(const core::ListBox& list, const QString& text) {
    int found = 0;
    for (int i = 0; i < list.count(); ++i) found += list.text(i) == text ? 1 : 0;
    return found;
}

}  // namespace dorvane::testing
