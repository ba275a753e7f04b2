#pragma once
// The connection profiles a command uses: the windows' saved profiles, each field
// overridden by its environment variable, then by its option. A password still empty is
// asked for when the command runs on a terminal.

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

#include "cli/command_line.h"
#include "core/settings_store.h"

namespace dorvane::cli {

// A variable's value; empty when it is not set.
using Environment = std::function<std::optional<QString>(const char* name)>;
Environment processEnvironment();

// Every field's value, by the key the windows store it under.
using ProfileValues = QHash<QString, QString>;

ProfileValues profileValues(const core::SettingsStore& store, const Environment& environment,
                            const QHash<QString, QString>& options);

// Asks for the server's password on the terminal when it is empty and there is a
// terminal to ask on.
void askForEmptyPassword(ProfileValues& values, Server server);

}  // namespace dorvane::cli
