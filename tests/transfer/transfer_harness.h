#pragma once
// Everything a transfer command needs, in memory, against the test servers: the
// scripted platform, the transfer screen's controls, a scripted customization dialog,
// and ways to read what arrived.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "db/odbc/recordset.h"
#include "db/values/value.h"
#include "memory_controls.h"
#include "scripted_platform.h"
#include "test_servers.h"
#include "transfer/command_context.h"

namespace dorvane::testing {

// The dialog as a transfer sees it; each showing runs the next scripted answer.
class ScriptedDialog : public transfer::CustomizationDialog {
  public:
    explicit ScriptedDialog(bool& cancelled) : cancelled_(cancelled) {}
    transfer::CustomizationMembers& members() override { return members_; }
    void showModal() override;

    using Answer = std::function<void(transfer::CustomizationMembers&, bool& cancelled)>;
    static Answer cancel();
    static Answer okUnchanged();
    static Answer ok(QString sql, QString numeric);

    std::deque<Answer> answers;
    // The members as they were when each showing began.
    std::vector<transfer::CustomizationMembers> shown;

  private:
    bool& cancelled_;
    transfer::CustomizationMembers members_;
};

struct TransferHarness {
    ScriptedPlatform platform;
    EnvProfiles profiles;
    core::MemoryListBox mssqlTables;     // SQL Server tables
    core::MemoryListBox postgresTables;  // PostgreSQL tables
    core::MemoryCheckBox customizeToPostgres, customizeToSqlServer;
    core::MemoryCheckBox fastCopyToPostgres, fastCopyToSqlServer;
    core::MemoryCheckBox naturalTypesToPostgres, naturalTypesToSqlServer;
    core::MemoryProgressBar progressBar;
    core::MemoryPointer pointer;
    transfer::TransferScreenControls transferScreen{mssqlTables,
                                                    postgresTables,
                                                    customizeToPostgres,
                                                    customizeToSqlServer,
                                                    progressBar,
                                                    pointer,
                                                    &fastCopyToPostgres,
                                                    &fastCopyToSqlServer,
                                                    &naturalTypesToPostgres,
                                                    &naturalTypesToSqlServer};
    bool customizationCancelled = false;
    ScriptedDialog customizationDialog{customizationCancelled};
    transfer::StopRequest stop;
    transfer::CommandContext context{
        platform, profiles, transferScreen, customizationDialog, customizationCancelled, stop};

    // Adds the names to the list, selects them, and makes the last one current.
    static void select(core::MemoryListBox& list, const QStringList& names);
};

using Rows = std::vector<std::vector<db::Value>>;
Rows postgresRows(const QString& sql);
Rows mssqlRows(const QString& sql);
// Field descriptions of a statement's result.
std::vector<db::FieldInfo> postgresFields(const QString& sql);

// "name type" per column of a PostgreSQL table, in column order (information_schema).
QStringList postgresColumns(const QString& table);

}  // namespace dorvane::testing
