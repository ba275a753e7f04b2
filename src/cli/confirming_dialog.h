#pragma once
// The data type customization dialog's logic on controls held in memory, confirmed at
// once: each table is created with the types the dialog proposes.

#include "core/memory_controls.h"
#include "customize/customize_dialog_logic.h"

namespace dorvane::cli {

class ConfirmingDialog : public transfer::CustomizationDialog,
                         public customize::CustomizeWindowActions {
  public:
    ConfirmingDialog(core::Platform& platform, const db::ProfileSource& profiles, bool& cancelled);
    transfer::CustomizationMembers& members() override { return logic_.members(); }
    void showModal() override;
    void applyFormColors() override {}
    void setApplicationIcon() override {}
    void loadCustomPointer(const QString&) override {}
    void unload() override;

  private:
    core::MemoryListBox fields_{false}, types_{false};
    core::MemoryTextField text_;
    core::MemoryPointer pointer_;
    customize::CustomizeDialogLogic logic_;
};

}  // namespace dorvane::cli
