#pragma once
// What the command line's exit status tells a script.

namespace dorvane::cli {

constexpr int kExitCopied = 0;             // every table done completely
constexpr int kExitIncomplete = 1;         // a table was not copied, not completely, or kept
constexpr int kExitUsageOrConnection = 2;  // a wrong command line, or a server that did not open

}  // namespace dorvane::cli
