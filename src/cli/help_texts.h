#pragma once
// What `--help` prints: the program's usage, or a subcommand's.

#include <QString>
#include <optional>

#include "cli/command_line.h"

namespace dorvane::cli {

QString programUsage();
QString subcommandHelp(Subcommand subcommand);

}  // namespace dorvane::cli
