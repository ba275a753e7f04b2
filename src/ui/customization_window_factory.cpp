#include "ui/customization_window_factory.h"

#include "ui/customize_window.h"

namespace dorvane::ui {

std::unique_ptr<transfer::CustomizationDialog> makeCustomizationWindow(
    core::Platform& platform, const db::ProfileSource& profiles, bool& customizationCancelled) {
    return std::make_unique<CustomizeWindow>(platform, profiles, customizationCancelled);
}

}  // namespace dorvane::ui
