#pragma once
// Both screens on in-memory controls, with a scripted desktop, a settings store in a
// temporary folder and the ODBC database work (which tests may make fail on purpose).

#include <QTemporaryDir>
#include <array>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "memory_controls.h"
#include "memory_window.h"
#include "screens/app_context.h"
#include "screens/connection_screen.h"
#include "screens/transfer_screen.h"
#include "scripted_platform.h"

namespace dorvane::testing {

// The real database work, recorded, with a catalogue that can be made to fail.
class RecordingGateway : public screens::DatabaseGateway {
  public:
    std::vector<QString> calls;  // "openPostgres", "openMssql", "listMssql", "listPostgres"

    bool openPostgresSucceeds(const db::PostgresProfile& profile,
                              const db::WhileWaiting& whileWaiting) override;
    bool openMssqlSucceeds(const db::MssqlProfile& profile,
                           const db::WhileWaiting& whileWaiting) override;

    // A failing catalogue throws before it reads anything.
    bool failMssqlCatalogue = false;
    bool failPostgresCatalogue = false;
    QStringList mssqlTableNames(const db::MssqlProfile& profile,
                                const db::WhileWaiting& whileWaiting) override;
    QStringList postgresTableNames(const db::PostgresProfile& profile,
                                   const db::WhileWaiting& whileWaiting) override;

  private:
    screens::OdbcDatabaseGateway real_;
};

class NoCustomization : public transfer::CustomizationDialog {
  public:
    transfer::CustomizationMembers& members() override { return members_; }
    void showModal() override { ++shown; }
    int shown = 0;

  private:
    transfer::CustomizationMembers members_;
};

// The connection screen's fields in the order of their numbers in the window (Text1 to
// Text10), which the tests below use to name them.
inline constexpr std::array<screens::ConnectionField, 10> kFieldsByNumber{
    &screens::ConnectionFields::postgresServer,   &screens::ConnectionFields::postgresPort,
    &screens::ConnectionFields::postgresUser,     &screens::ConnectionFields::postgresPassword,
    &screens::ConnectionFields::postgresDatabase, &screens::ConnectionFields::mssqlServer,
    &screens::ConnectionFields::mssqlUser,        &screens::ConnectionFields::mssqlPassword,
    &screens::ConnectionFields::mssqlDatabase,    &screens::ConnectionFields::mssqlPort,
};

struct ScreensHarness {
    // A fresh store in a temporary folder, or the given store file (a later run).
    explicit ScreensHarness(const QString& settingsFile = QString());

    // Stores a working profile of both test servers, as a user would have typed them.
    void storeServerProfiles();
    void typeInto(int field, const QString& text) { texts.at(field - 1).setText(text); }
    QString stored(const char* key) const;
    core::FileSettingsStore& settings() { return *store; }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    std::unique_ptr<core::FileSettingsStore> store;
    screens::CommandGuard commands;
    RecordingGateway databases;
    screens::AppContext app;

    screens::MemoryWindow connectionWindow;
    std::array<core::MemoryTextField, 10> texts;  // by number, as kFieldsByNumber
    core::MemoryCheckBox localConnection;
    screens::ConnectionScreenControls connectionControls;

    screens::MemoryWindow transferWindow;
    core::MemoryListBox mssqlTables, postgresTables;
    core::MemoryCheckBox customizeToPostgres, customizeToSqlServer;
    core::MemoryCheckBox fastCopyToPostgres, fastCopyToSqlServer;
    core::MemoryCheckBox naturalTypesToPostgres, naturalTypesToSqlServer;
    core::MemoryProgressBar progressBar;
    transfer::TransferScreenControls transferControls;

    NoCustomization customizationDialog;
    bool customizationCancelled = false;
    screens::ConnectionScreen connectionScreen;
    screens::TransferScreen transferScreen;
};

// How often the text occurs among the list's entries.
int occurrences(const core::ListBox& list, const QString& text);

}  // namespace dorvane::testing
