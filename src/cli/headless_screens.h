#pragma once
// The connection screen and the transfer screen on controls held in memory, their fields
// filled from the command's profiles and nothing saved: the commands run exactly as the
// windows' buttons run them, without a display.

#include <QStringList>
#include <array>
#include <optional>

#include "cli/command_line.h"
#include "cli/confirming_dialog.h"
#include "cli/connection_profile.h"
#include "core/memory_controls.h"
#include "screens/connection_screen.h"
#include "screens/memory_window.h"
#include "screens/transfer_screen.h"

namespace dorvane::cli {

class HeadlessScreens {
  public:
    HeadlessScreens(screens::AppContext& app, core::ProgressBar& progressBar,
                    const ProfileValues& profile);

    // Why the server's connection does not open, as the driver says it, the password
    // masked; empty when it opens.
    std::optional<QString> connectionFailure(Server server) const;
    // Fills the server's list as "Next >" does. Throws when the catalogue cannot be read.
    void listTables(Server server);
    core::ListBox& tables(Server server);
    // The tables of the PostgreSQL list that are PostgreSQL's own catalogues.
    QStringList postgresCatalogueTables() const;

    transfer::TransferScreenControls& controls() { return transferControls_; }
    screens::TransferScreen& transferScreen() { return transferScreen_; }

  private:
    screens::AppContext& app_;
    screens::MemoryWindow connectionWindow_, transferWindow_;
    std::array<core::MemoryTextField, 10> texts_;
    core::MemoryCheckBox localConnection_;
    screens::ConnectionScreenControls connectionControls_;
    core::MemoryListBox mssqlTables_, postgresTables_;
    core::MemoryCheckBox customizeToPostgres_, customizeToSqlServer_;
    core::MemoryCheckBox fastCopyToPostgres_, fastCopyToSqlServer_;
    core::MemoryCheckBox naturalTypesToPostgres_, naturalTypesToSqlServer_;
    transfer::TransferScreenControls transferControls_;
    screens::ConnectionScreen connectionScreen_;
    bool customizationCancelled_ = false;
    ConfirmingDialog customizationDialog_;
    screens::TransferScreen transferScreen_;
};

}  // namespace dorvane::cli
