#pragma once
// Everything a transfer-screen command needs, in memory: the scripted platform, the
// two lists, the boxes, the progress bar, the pointer, the profiles from the
// environment and a dialog that fails the test when shown unless a script is set.

#include <gtest/gtest.h>

#include <functional>

#include "app/memory_controls.h"
#include "scripted_platform.h"
#include "test_servers.h"
#include "transfer/command_context.h"

namespace dorvane::testing {

class ScriptedDialog : public CustomizationDialog {
public:
    CustomizationMembers& members() override { return members_; }
    void showModal() override {
        ++showCount;
        if (!onShow) {
            ADD_FAILURE() << "the customization dialog was shown unexpectedly";
            return;
        }
        onShow(members_);
    }
    // Plays the user's part; set `cancelled` false to confirm as OK does.
    std::function<void(CustomizationMembers&)> onShow;
    int showCount = 0;

private:
    CustomizationMembers members_;
};

struct CommandFixture {
    ScriptedPlatform platform;
    MemoryListBox list1;
    MemoryListBox list2;
    MemoryCheckBox check15;
    MemoryCheckBox check16;
    MemoryProgressBar progressBar1;
    MemoryPointer pointer;
    EnvProfiles profiles;
    ScriptedDialog form3;
    bool customizationCancelled = false;
    TransferScreenControls form2{list1, list2, check15, check16, progressBar1, pointer};
    CommandContext context{platform, profiles, form2, form3, customizationCancelled};

    // Adds a table name to a list and selects it (without making it current).
    static void addSelected(MemoryListBox& list, const QString& name) {
        list.add(name);
        for (int i = 0; i < list.count(); ++i)
            if (list.text(i) == name) list.setSelected(i, true);
    }
    static int indexOf(const MemoryListBox& list, const QString& name) {
        for (int i = 0; i < list.count(); ++i)
            if (list.text(i) == name) return i;
        return -1;
    }
};

}  // namespace dorvane::testing
