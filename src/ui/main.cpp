#include <QApplication>

#include "cli/run_command_line.h"
#include "core/settings_store.h"
#include "screens/database_gateway.h"
#include "ui/program.h"
#include "ui/qt_platform.h"
#include "ui/startup_report.h"

int main(int argc, char** argv) {
    // A subcommand runs without windows, so without a display: decided before any
    // application object that would need one.
    if (dorvane::cli::wantsCommandLine(argc, argv)) return dorvane::cli::runCommandLine(argc, argv);
    QApplication application(argc, argv);
    dorvane::ui::reportStartupWhenAsked(application);
    // "Next >" hides one window after showing the other; only closing one ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // The user's own store, or the file DORVANE_SETTINGS_FILE names (demos, screenshots).
    const QString settingsFile = qEnvironmentVariable("DORVANE_SETTINGS_FILE");
    dorvane::core::FileSettingsStore settings =
        settingsFile.isEmpty() ? dorvane::core::FileSettingsStore()
                               : dorvane::core::FileSettingsStore(settingsFile);

    dorvane::ui::QtPlatform platform;
    dorvane::screens::OdbcDatabaseGateway databases;
    dorvane::ui::Program program(platform, settings, databases);
    program.start();
    return QApplication::exec();
}
