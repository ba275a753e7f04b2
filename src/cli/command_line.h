#pragma once
// The command line's subcommands and options, read into what they ask for.

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvane::cli {

enum class Subcommand { Tables, Copy, Drop, Rename };
enum class Server { Postgres, SqlServer };
// The answer to "Would you like to overwrite …?"; unanswered keeps the table, as a "No".
enum class OverwriteAnswer { Unanswered, Overwrite, KeepExisting };

struct CommandLine {
    Subcommand subcommand = Subcommand::Tables;
    // tables, drop, rename: the server worked on; copy: the target (--to).
    Server server = Server::Postgres;
    bool help = false;
    bool fast = false;
    bool naturalTypes = false;
    bool customizeAsProposed = false;
    bool all = false;
    OverwriteAnswer overwrite = OverwriteAnswer::Unanswered;
    QStringList tables;    // copy and drop: the tables; rename: the old name and the new
    QString settingsFile;  // empty: DORVANE_SETTINGS_FILE, or the windows' own store
    // Profile fields given as options, by the field.
    QHash<QString, QString> fieldOptions;  // by the key the windows store the field under
};

struct ParsedCommandLine {
    std::optional<CommandLine> command;  // empty when the arguments are wrong
    QString error;                       // why, for the user
};

// True when the first argument names a subcommand: the program then runs without windows.
bool isSubcommand(const QString& firstArgument);

// `arguments` without the program's name; the first one is the subcommand.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

QString subcommandName(Subcommand subcommand);

}  // namespace dorvane::cli
