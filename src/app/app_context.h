#pragma once
// What both screens share: the desktop, the settings store, the one-command-at-a-time
// guard and the database work.

#include "app/database_gateway.h"
#include "app/platform.h"
#include "app/settings_store.h"
#include "transfer/command_context.h"

namespace dorvane {

struct AppContext {
    Platform& platform;
    SettingsStore& settings;
    CommandGuard& commands;
    DatabaseGateway& databases;
};

}  // namespace dorvane
