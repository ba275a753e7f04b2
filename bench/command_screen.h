#pragma once
// The transfer screen's controls in memory, for running the real commands: both table
// lists, the customization boxes (unticked), the progress bar and the pointer, with the
// benchmark's platform watching the event loop.

#include "bench_platform.h"
#include "bench_servers.h"
#include "memory_controls.h"
#include "transfer/command_context.h"

namespace dorvane::bench {

// Never shown: the customization boxes stay unticked.
class NoDialog : public transfer::CustomizationDialog {
  public:
    explicit NoDialog(BenchPlatform& platform) : platform_(platform) {}
    transfer::CustomizationMembers& members() override { return members_; }
    void showModal() override {
        platform_.messageBox(QStringLiteral("the customization dialog was shown"),
                             core::MsgButtons::Ok, core::MsgIcon::None, QString());
    }

  private:
    BenchPlatform& platform_;
    transfer::CustomizationMembers members_;
};

struct CommandScreen {
    explicit CommandScreen(const EnvProfiles& p) : profiles(p) {}
    BenchPlatform platform;
    const EnvProfiles& profiles;
    core::MemoryListBox mssqlTables, postgresTables;
    core::MemoryCheckBox customizeToPostgres, customizeToSqlServer;
    core::MemoryCheckBox fastCopyToPostgres, fastCopyToSqlServer;
    core::MemoryCheckBox naturalTypesToPostgres, naturalTypesToSqlServer;
    core::MemoryProgressBar progressBar;
    core::MemoryPointer pointer;
    NoDialog customizationDialog{platform};
    bool customizationCancelled = false;
    transfer::TransferScreenControls transferScreen{
        mssqlTables, postgresTables, customizeToPostgres, customizeToSqlServer,
        progressBar, pointer,        &fastCopyToPostgres, &fastCopyToSqlServer,
        &naturalTypesToPostgres, &naturalTypesToSqlServer};
    transfer::StopRequest stop;
    transfer::CommandContext context{
        platform, profiles, transferScreen, customizationDialog, customizationCancelled, stop};
};

// The list holds `name` alone, selected and current.
inline void selectOnly(core::MemoryListBox& list, const QString& name) {
    list.add(name);
    list.setSelected(0, true);
    list.setCurrentIndex(0);
}

}  // namespace dorvane::bench
