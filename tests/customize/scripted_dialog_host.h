#pragma once
// The customization dialog with in-memory controls and a scripted user: showModal runs
// the load step and then `onShow`, which clicks as a user would; the window "closes"
// through the same query-unload as the real one.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/memory_controls.h"
#include "customize/customize_dialog_logic.h"

namespace dorvane::testing {

class ScriptedDialogHost : public CustomizationDialog, public CustomizeWindowActions {
  public:
    ScriptedDialogHost(Platform& platform, const db::ProfileSource& profiles,
                       bool& customizationCancelled)
        : logic(platform, profiles, customizationCancelled, {list1, list2, text1, pointer}, *this) {
    }

    CustomizationMembers& members() override { return logic.members(); }
    void showModal() override {
        ++showCount;
        open = true;
        logic.Form_Load();
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
        logic.Form_QueryUnload(cancel);
        if (!cancel) open = false;
    }

    // The user's actions.
    void clickField(int row) {
        list1.click(row);
        logic.List1_Click();
    }
    void clickDataType(int row) {
        list2.click(row);
        logic.List2_Click();
    }
    void change(const QString& typed) {
        text1.setText(typed);
        logic.PushButton1_Click();
    }
    void ok() { logic.PushButton2_Click(); }
    void help() { logic.PushButton3_Click(); }
    void cancel() { logic.PushButton4_Click(); }
    void closeBox() { unload(); }

    MemoryListBox list1{false};
    MemoryListBox list2{false};
    MemoryTextField text1;
    MemoryPointer pointer;
    CustomizeDialogLogic logic;

    std::function<void(ScriptedDialogHost&)> onShow;
    bool open = false;
    int showCount = 0;
    int formColorCalls = 0;
    int iconCalls = 0;
    bool pointerFileUnreadable = false;
    QString customPointerFile;
};

}  // namespace dorvane::testing
