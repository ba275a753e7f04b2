#include "cli/confirming_dialog.h"

namespace dorvane::cli {

ConfirmingDialog::ConfirmingDialog(core::Platform& platform, const db::ProfileSource& profiles,
                                   bool& cancelled)
    : logic_(platform, profiles, cancelled, {fields_, types_, text_, pointer_}, *this) {}

void ConfirmingDialog::showModal() {
    logic_.load();
    logic_.onOkClicked();
}

void ConfirmingDialog::unload() {
    bool keepOpen = false;
    logic_.onQueryUnload(keepOpen);
}

}  // namespace dorvane::cli
