#pragma once
// What the transfer screen's commands work with: the platform, the connection
// profiles as the connection screen holds them now, and the transfer screen's controls.

#include <QString>
#include <QStringList>

#include "core/controls.h"
#include "core/platform.h"
#include "db/values/connection_strings.h"

namespace dorvane::transfer {

struct TransferScreenControls {
    core::ListBox& mssqlTables;     // SQL Server tables
    core::ListBox& postgresTables;  // PostgreSQL tables
    core::CheckBox& customizeToPostgres;
    core::CheckBox& customizeToSqlServer;
    core::ProgressBar& progressBar;
    core::PointerSurface& pointer;
    // "Fast copy" of each direction; a screen without the boxes copies row by row.
    core::CheckBox* fastCopyToPostgres = nullptr;
    core::CheckBox* fastCopyToSqlServer = nullptr;
    // "Natural types" of each direction: the source's own types, sizes, NULL rules, key and
    // identity kept; a screen without the boxes copies by the type rules of old.
    core::CheckBox* naturalTypesToPostgres = nullptr;
    core::CheckBox* naturalTypesToSqlServer = nullptr;
};

// Which way the transfer that shows the customization dialog copies; None until one says.
enum class Direction { None, ToPostgres, ToSqlServer };

// True when the direction's "Fast copy" box is there and ticked.
inline bool fastCopyBoxTicked(const TransferScreenControls& screen, Direction direction) {
    const core::CheckBox* box =
        direction == Direction::ToPostgres ? screen.fastCopyToPostgres : screen.fastCopyToSqlServer;
    return box && box->value() == 1;
}

// True when the direction's "Natural types" box is there and ticked.
inline bool naturalTypesBoxTicked(const TransferScreenControls& screen, Direction direction) {
    const core::CheckBox* box = direction == Direction::ToPostgres ? screen.naturalTypesToPostgres
                                                                   : screen.naturalTypesToSqlServer;
    return box && box->value() == 1;
}

// The public members of the data type customization dialog, which outlive its window.
struct CustomizationMembers {
    Direction direction = Direction::None;
    // The dialog proposes the natural types ("Natural types" ticked).
    bool naturalTypes = false;
    QString tableName;
    QString createTableSql;
    QString numericColumns;
    QStringList oldFieldNames;
    QStringList newFieldNames;
};

// The data type customization dialog as a transfer sees it.
class CustomizationDialog {
  public:
    virtual ~CustomizationDialog() = default;
    virtual CustomizationMembers& members() = 0;
    // Loads and shows the window; returns once it has been unloaded.
    virtual void showModal() = 0;
};

// The user's wish that the running command stop early. The screen sets it between
// events; the command reads it once per row or table (a flag read, nothing more) and
// ends where its data is whole: after a row, or a table. A fast copy also reads it in
// each turn it takes while waiting on a server, and then rolls its table back.
class StopRequest {
  public:
    bool requested() const { return requested_; }
    void request() { requested_ = true; }
    void clear() { requested_ = false; }

  private:
    bool requested_ = false;
};

struct CommandContext {
    core::Platform& platform;
    const db::ProfileSource& profiles;
    TransferScreenControls& transferScreen;
    CustomizationDialog& customizationDialog;
    // Set by a transfer before it shows the dialog; only the dialog's OK clears it.
    bool& customizationCancelled;
    const StopRequest& stop;
};

}  // namespace dorvane::transfer
