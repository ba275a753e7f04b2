#pragma once
// The customization dialog with in-memory controls and a scripted user: showModal runs
// the load step and then `onShow`, which clicks as a user would; the window "closes"
// through the same query-unload as the real one.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "customize/customize_dialog_logic.h"
#include "memory_controls.h"

namespace dorvane::testing {

class ScriptedDialogHost : public transfer::CustomizationDialog,
                           public customize::CustomizeWindowActions {
  public:
    ScriptedDialogHost(core::Platform& platform, const db::ProfileSource& profiles,
                       bool& customizationCancelled)
        : logic(platform, profiles, customizationCancelled, {fields, dataTypes, dataType, pointer},
                *this) {}

    transfer::CustomizationMembers& members() override { return logic.members(); }
    void showModal() override {
        ++showCount;
        open = true;
        logic.load();
        if (onShow) onShow(*this);
        if (open) ADD_FAILURE() << "the script left the dialog open";
        open = false;
    }

    void applyFormColors() override { ++formColorCalls; }
    void setApplicationIcon() override { ++iconCalls; }
    void loadCustomPointer(const QString& path) override {
        if (pointerFileUnreadable) throw std::runtime_error("Invalid picture");
        customPointerFile = path;
    }
    void unload() override {
        bool cancel = false;
        logic.onQueryUnload(cancel);
        if (!cancel) open = false;
    }

    // The user's actions.
    void clickField(int row) {
        fields.click(row);
        logic.onFieldsClicked();
    }
    void clickDataType(int row) {
        dataTypes.click(row);
        logic.onDataTypesClicked();
    }
    void change(const QString& typed) {
        dataType.setText(typed);
        logic.onChangeClicked();
    }
    void ok() { logic.onOkClicked(); }
    void help() { logic.onHelpClicked(); }
    void cancel() { logic.onCancelClicked(); }
    void closeBox() { unload(); }

    core::MemoryListBox fields{false};
    core::MemoryListBox dataTypes{false};
    core::MemoryTextField dataType;
    core::MemoryPointer pointer;
    customize::CustomizeDialogLogic logic;

    std::function<void(ScriptedDialogHost&)> onShow;
    bool open = false;
    int showCount = 0;
    int formColorCalls = 0;
    int iconCalls = 0;
    bool pointerFileUnreadable = false;
    QString customPointerFile;
};

}  // namespace dorvane::testing
