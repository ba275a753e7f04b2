#pragma once
// What both screens share: the desktop, the settings store, the one-command-at-a-time
// guard and the database work.

#include "core/platform.h"
#include "core/settings_store.h"
#include "screens/command_guard.h"
#include "screens/database_gateway.h"
#include "transfer/command_context.h"

namespace dorvane::screens {

struct AppContext {
    core::Platform& platform;
    core::SettingsStore& settings;
    CommandGuard& commands;
    DatabaseGateway& databases;
};

}  // namespace dorvane::screens
