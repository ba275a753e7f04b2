#pragma once
// What both screens share: the desktop, the settings store, the one-command-at-a-time
// guard and the database work.

#include "screens/database_gateway.h"
#include "core/platform.h"
#include "core/settings_store.h"
#include "screens/command_guard.h"
#include "transfer/command_context.h"

namespace dorvane {

struct AppContext {
    Platform& platform;
    SettingsStore& settings;
    CommandGuard& commands;
    DatabaseGateway& databases;
};

}  // namespace dorvane
