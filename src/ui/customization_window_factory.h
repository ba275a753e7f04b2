#pragma once
// Creates the data type customization dialog (Form3) that the transfers show.

#include <functional>
#include <memory>

#include "core/platform.h"
#include "db/values/connection_strings.h"
#include "transfer/command_context.h"

namespace dorvane::ui {

// The dialog reads the source table over a connection of its own, built from the
// connection screen's fields at that moment; its OK clears the shared cancel flag.
using CustomizationWindowFactory = std::function<std::unique_ptr<transfer::CustomizationDialog>(
    core::Platform& platform, const db::ProfileSource& profiles, bool& customizationCancelled)>;

std::unique_ptr<transfer::CustomizationDialog> makeCustomizationWindow(
    core::Platform& platform, const db::ProfileSource& profiles, bool& customizationCancelled);

}  // namespace dorvane::ui
