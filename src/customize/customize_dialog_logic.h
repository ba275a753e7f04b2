#pragma once
// The data type customization dialog without its window: the handlers of its load step,
// lists, buttons and closing, working on the controls the window lends it. Tests drive
// it with in-memory controls.

#include <QString>
#include <QStringList>

#include "core/controls.h"
#include "core/platform.h"
#include "core/procedure.h"
#include "db/values/connection_strings.h"
#include "transfer/command_context.h"

namespace dorvane::customize {

struct OkLoopLines;

struct CustomizeDialogControls {
    core::ListBox& fields;     // Fields: the source column names
    core::ListBox& dataTypes;  // Data Type: one type per column, in step with the fields
    core::TextField& dataType;
    core::PointerSurface& pointer;
};

// What only the window itself can do.
class CustomizeWindowActions {
  public:
    virtual ~CustomizeWindowActions() = default;
    virtual void applyFormColors() = 0;
    virtual void setApplicationIcon() = 0;
    // Makes the cursor file the custom pointer; throws when it cannot be read.
    virtual void loadCustomPointer(const QString& path) = 0;
    // Closes the window; Form_QueryUnload runs first and may keep it open.
    virtual void unload() = 0;
};

inline const QString kPostgresDataTypesAddress =
    QStringLiteral("https://www.postgresql.org/docs/current/static/datatype.html");

class CustomizeDialogLogic {
  public:
    CustomizeDialogLogic(core::Platform& platform, const db::ProfileSource& profiles,
                         bool& customizationCancelled, CustomizeDialogControls controls,
                         CustomizeWindowActions& window);

    transfer::CustomizationMembers& members() { return members_; }
    const transfer::CustomizationMembers& members() const { return members_; }
    // True once a change was applied and not yet accepted.
    bool changed() const { return changed_; }

    void load();
    void onFieldsClicked();
    void onDataTypesClicked();
    void onChangeClicked();  // Change
    void onOkClicked();      // OK
    void onHelpClicked();    // Help
    void onCancelClicked();  // Cancel
    // Setting `cancel` keeps the window open.
    void onQueryUnload(bool& cancel);

    // Mouse moves: over a push button, and over anything else of the window.
    void pushButtonMouseMove();
    void surfaceMouseMove();

    // A name for a column whose name reads as a number: "newfieldname0", else tempid1,
    // tempid2, ..., unlike every Fields row and every name in `generatedEarlier`.
    QString newFieldName(const QStringList& generatedEarlier) const;

  private:
    void appendColumns(core::Procedure& procedure, const OkLoopLines& lines);
    void selectRowInStep(core::ListBox& clicked, core::ListBox& other);

    core::Platform& platform_;
    const db::ProfileSource& profiles_;
    bool& customizationCancelled_;
    CustomizeDialogControls controls_;
    CustomizeWindowActions& window_;
    transfer::CustomizationMembers members_;
    bool changed_ = false;
};

}  // namespace dorvane::customize
