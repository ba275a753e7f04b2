#pragma once
// The running program: both screens with their windows, the customization dialog, the
// one-command-at-a-time guard and the shared customization flag.

#include <memory>

#include "screens/app_context.h"
#include "screens/connection_screen.h"
#include "screens/settings_problem.h"
#include "screens/transfer_screen.h"
#include "ui/connection_window.h"
#include "ui/customization_window_factory.h"
#include "ui/transfer_window.h"

namespace dorvane::ui {

class Program {
  public:
    Program(core::Platform& platform, core::SettingsStore& settings,
            screens::DatabaseGateway& databases,
            const CustomizationWindowFactory& makeCustomization = makeCustomizationWindow);

    // Runs the connection screen's load step and shows the start-up window.
    void start() { connectionScreen_.startUp(); }

    ConnectionWindow& connectionWindow() { return connectionWindow_; }
    TransferWindow& transferWindow() { return transferWindow_; }
    screens::ConnectionScreen& connectionScreen() { return connectionScreen_; }
    screens::TransferScreen& transferScreen() { return transferScreen_; }
    screens::CommandGuard& commands() { return commands_; }

  private:
    screens::CommandGuard commands_;
    ScreenPlacement screenPlacement_;
    bool customizationCancelled_ = false;
    screens::ProblemTellingStore settings_;
    screens::AppContext app_;
    ConnectionWindow connectionWindow_;
    TransferWindow transferWindow_;
    screens::ConnectionScreen connectionScreen_;
    std::unique_ptr<transfer::CustomizationDialog> customization_;
    screens::TransferScreen transferScreen_;
};

}  // namespace dorvane::ui
