#include "cli/run_command_line.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "cli/command_session.h"
#include "cli/exit_status.h"
#include "cli/help_texts.h"

namespace dorvane::cli {
namespace {

void printOut(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

// The settings file the command names, else the one DORVANE_SETTINGS_FILE names, else
// the windows' own; null after telling why a named one cannot serve.
std::unique_ptr<core::FileSettingsStore> settingsStore(const CommandLine& command,
                                                       TerminalOutput& errors) {
    QString file = command.settingsFile;
    if (file.isEmpty()) file = qEnvironmentVariable("DORVANE_SETTINGS_FILE");
    if (file.isEmpty()) return std::make_unique<core::FileSettingsStore>();
    if (!QFileInfo(file).isFile()) {
        errors.message(QStringLiteral("dorvane: no settings file ") + file);
        return nullptr;
    }
    return std::make_unique<core::FileSettingsStore>(file);
}

int runCommand(const CommandLine& command, TerminalOutput& errors) {
    const std::unique_ptr<core::FileSettingsStore> store = settingsStore(command, errors);
    if (!store) return kExitUsageOrConnection;
    if (const QString problem = store->untoldProblem(); !problem.isEmpty()) {
        errors.message(problem);
        store->problemTold();
    }
    ProfileValues profile = profileValues(*store, processEnvironment(), command.fieldOptions);
    const bool both = command.subcommand == Subcommand::Copy;
    if (both || command.server == Server::Postgres) askForEmptyPassword(profile, Server::Postgres);
    if (both || command.server == Server::SqlServer)
        askForEmptyPassword(profile, Server::SqlServer);

    CommandSession session(command, *store, profile, errors);
    try {
        switch (command.subcommand) {
            case Subcommand::Tables:
                return runTables(command, session);
            case Subcommand::Copy:
                return runCopy(command, session);
            case Subcommand::Drop:
                return runDrop(command, session);
            case Subcommand::Rename:
                return runRename(command, session);
        }
    } catch (const std::exception& e) {
        errors.message(QString::fromUtf8(e.what()));
    }
    return kExitUsageOrConnection;
}

}  // namespace

bool wantsCommandLine(int argc, char** argv) {
    if (argc < 2) return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    return isSubcommand(first) || first == u"--help" || first == u"-h";
}

int runCommandLine(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    TerminalOutput errors(stderr);
    if (!arguments.isEmpty() && !isSubcommand(arguments.first())) {
        printOut(programUsage());
        return kExitCopied;
    }
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.command) {
        errors.message(QStringLiteral("dorvane %1: %2\nTry \"dorvane %1 --help\".")
                           .arg(arguments.first(), parsed.error));
        return kExitUsageOrConnection;
    }
    if (parsed.command->help) {
        printOut(subcommandHelp(parsed.command->subcommand));
        return kExitCopied;
    }
    return runCommand(*parsed.command, errors);
}

}  // namespace dorvane::cli
