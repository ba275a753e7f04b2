#pragma once
// What the transfer screen's commands work with: the platform, the connection
// profiles as the connection screen holds them now, and the transfer screen's controls.

#include <QString>
#include <QStringList>

#include "core/controls.h"
#include "core/platform.h"
#include "db/connection_strings.h"

namespace dorvane {

struct TransferScreenControls {
    ListBox& list1;  // SQL Server tables
    ListBox& list2;  // PostgreSQL tables
    CheckBox& check15;
    CheckBox& check16;
    ProgressBar& progressBar1;
    PointerSurface& pointer;
};

// The public members of the data type customization dialog, which outlive its window.
struct CustomizationMembers {
    QString mType;  // "Postgre" or "MSSQL"
    QString mTableName;
    QString mSQL;
    QString mNumeric;
    QStringList mOldFieldNames;
    QStringList mNewFieldNames;
};

// The data type customization dialog as a transfer sees it.
class CustomizationDialog {
  public:
    virtual ~CustomizationDialog() = default;
    virtual CustomizationMembers& members() = 0;
    // Loads and shows the window; returns once it has been unloaded.
    virtual void showModal() = 0;
};

struct CommandContext {
    Platform& platform;
    const db::ProfileSource& profiles;
    TransferScreenControls& form2;
    CustomizationDialog& form3;
    // Set by a transfer before it shows the dialog; only the dialog's OK clears it.
    bool& customizationCancelled;
};

}  // namespace dorvane
