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
    Program(Platform& platform, SettingsStore& settings, DatabaseGateway& databases,
            const CustomizationWindowFactory& makeCustomization = makeCustomizationWindow);

    // Runs the connection screen's load step and shows the start-up window.
    void start() { connectionScreen_.startUp(); }

    ConnectionWindow& connectionWindow() { return connectionWindow_; }
    TransferWindow& transferWindow() { return transferWindow_; }
    ConnectionScreen& connectionScreen() { return connectionScreen_; }
    TransferScreen& transferScreen() { return transferScreen_; }
    CommandGuard& commands() { return commands_; }

  private:
    CommandGuard commands_;
    bool customizationCancelled_ = false;
    ProblemTellingStore settings_;
    AppContext app_;
    ConnectionWindow connectionWindow_;
    TransferWindow transferWindow_;
    ConnectionScreen connectionScreen_;
    std::unique_ptr<CustomizationDialog> customization_;
    TransferScreen transferScreen_;
};

}  // namespace dorvane::ui
