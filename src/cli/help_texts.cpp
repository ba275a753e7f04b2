#include "cli/help_texts.h"

namespace dorvane::cli {
namespace {

const char* const kConnectionOptions = R"(
Connection details come from the profiles the windows save (the settings file below).
Each field can be overridden by an option or, beneath it, an environment variable:
  --pg-host HOST          DORVANE_PG_HOST
  --pg-port PORT          DORVANE_PG_PORT
  --pg-user USER          DORVANE_PG_USER
  --pg-database NAME      DORVANE_PG_DATABASE
                          DORVANE_PG_PASSWORD
  --mssql-host HOST       DORVANE_MSSQL_HOST
  --mssql-port PORT       DORVANE_MSSQL_PORT
  --mssql-user USER       DORVANE_MSSQL_USER
  --mssql-database NAME   DORVANE_MSSQL_DATABASE
                          DORVANE_MSSQL_PASSWORD
  --mssql-local-connection 0|1   DORVANE_MSSQL_LOCAL_CONNECTION
Passwords are never taken as options: a password left empty is asked for when the
command runs on a terminal.
  --settings FILE         the settings file (else DORVANE_SETTINGS_FILE, else the
                          windows' own); no command changes a profile
)";

const char* const kTables = R"(Usage: dorvane tables postgres|sqlserver [OPTIONS]

Prints the server's tables as the transfer screen lists them, one a line.
Exit status: 0 listed; 2 a wrong command line or a server that does not open.
)";

const char* const kCopy =
    R"(Usage: dorvane copy --to postgres|sqlserver [--fast] [--natural-types]
                   [--customize-as-proposed] [--overwrite | --keep-existing]
                   [OPTIONS] TABLE... | --all

Copies the tables from the other server, as the transfer screen's "Send Table/s" button
does: the same statements, checks, refusals and reports.
  --to SERVER               the server the tables go to
  --fast                    tick "Fast copy": each table in one transaction
  --natural-types           tick "Natural types" of the direction
  --customize-as-proposed   tick "Send with data type customization" and confirm the
                            types the dialog proposes
  --overwrite               answer "Yes" when asked to overwrite a table
  --keep-existing           answer "No": the table is kept, as it is without either
  --all                     every table the source lists (from PostgreSQL, without the
                            pg_catalog and information_schema tables)

Progress goes to standard error, on a terminal as one line per table kept up to date;
reports and messages too, with the texts of the windows' message boxes. Standard output
gets the summary, a line per table: "copied", "kept" or "not-copied", a tab, the name.
Ctrl-C stops the copy as Esc does in the window: row by row after the current row, a
fast copy by rolling the table back; a second Ctrl-C ends the program at once.
Exit status: 0 every table copied completely (or kept, with --keep-existing); 1 a table
was not, or was kept without --keep-existing; 2 a wrong command line, a table not
listed, or a server that does not open.
)";

const char* const kDrop = R"(Usage: dorvane drop postgres|sqlserver [OPTIONS] TABLE...

Drops the tables, as the transfer screen's "Delete Table/s" does, without asking.
Standard output gets "dropped" or "not-dropped", a tab and the name, a line per table.
Exit status: 0 all dropped; 1 one is still there; 2 a wrong command line, a table not
listed, or a server that does not open.
)";

const char* const kRename = R"(Usage: dorvane rename postgres|sqlserver [OPTIONS] TABLE NEW_NAME

Renames the table, as the transfer screen's "Rename Table" does, with NEW_NAME as the
answer to its question. Standard output gets "renamed" or "not-renamed", the old name
and the new, tab-separated.
Exit status: 0 renamed; 1 not; 2 a wrong command line, a table not listed, or a server
that does not open.
)";

}  // namespace

QString programUsage() {
    return QStringLiteral(
        "Usage: dorvane                  open the windows\n"
        "       dorvane tables postgres|sqlserver\n"
        "       dorvane copy --to postgres|sqlserver [OPTIONS] TABLE... | --all\n"
        "       dorvane drop postgres|sqlserver TABLE...\n"
        "       dorvane rename postgres|sqlserver TABLE NEW_NAME\n"
        "A subcommand runs without windows or a display. `dorvane SUBCOMMAND --help` "
        "tells more.\n");
}

QString subcommandHelp(Subcommand subcommand) {
    const char* text = subcommand == Subcommand::Tables ? kTables
                       : subcommand == Subcommand::Copy ? kCopy
                       : subcommand == Subcommand::Drop ? kDrop
                                                        : kRename;
    return QString::fromUtf8(text) + QString::fromUtf8(kConnectionOptions);
}

}  // namespace dorvane::cli
