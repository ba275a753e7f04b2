// Runs the demo's copies through the screens' own logic, without a display: both
// profiles typed in from the DORVANE_* environment, "Next >", the demo tables sent each
// way, then the first table of each way once more with the data type customization
// confirmed as proposed. Every question is answered "Yes"; every message box's text is
// printed, one line each, so that two runs can be compared. With --fast, every copy has
// its direction's "Fast copy" box ticked.
//
//   dorvane-demo-copies [--fast] SQLSERVER_TABLES POSTGRES_TABLES   (each comma-separated)

#include <QStringList>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "cli/confirming_dialog.h"
#include "memory_controls.h"
#include "memory_window.h"
#include "screens/app_context.h"
#include "screens/connection_screen.h"
#include "screens/transfer_screen.h"

namespace dorvane {
namespace {

// One line per message; CR and LF written out so a report stays on its line.
void print(const QString& kind, const QString& title, const QString& text) {
    QString line = kind + QStringLiteral(" [") + title + QStringLiteral("] ") + text;
    line.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class YesPlatform : public core::Platform {
  public:
    explicit YesPlatform(QString folder) : folder_(std::move(folder)) {}
    int messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon,
                   const QString& title) override {
        const bool question = buttons == core::MsgButtons::YesNo;
        print(question ? QStringLiteral("question") : QStringLiteral("message"),
              title.isEmpty() ? title_ : title, text);
        return question ? core::kAnswerYes : core::kAnswerOk;
    }
    QString inputBox(const QString& prompt, const QString&) override {
        print(QStringLiteral("input"), title_, prompt);
        return QString();  // cancelled: none of these copies asks for a name
    }
    void processEvents() override {}
    void shellOpen(const QString&) override {}
    QString programFolder() const override { return folder_; }
    QString appTitle() const override { return title_; }
    void setAppTitle(const QString& title) override { title_ = title; }
    void endProgram() override {}

  private:
    QString folder_;
    QString title_ = QStringLiteral("Dorvane");
};

QString env(const char* name) {
    return QString::fromUtf8(std::getenv(name) ? std::getenv(name) : "");
}

// Selects exactly the named entries, the last of them current; false when one is missing.
bool selectOnly(core::ListBox& list, const QStringList& names) {
    for (int i = 0; i < list.count(); ++i) list.setSelected(i, false);
    for (const QString& name : names) {
        int found = -1;
        for (int i = 0; i < list.count() && found < 0; ++i)
            if (list.text(i) == name) found = i;
        if (found < 0) {
            std::fprintf(stderr, "table %s is not listed\n", name.toUtf8().constData());
            return false;
        }
        list.setSelected(found, true);
        list.setCurrentIndex(found);
    }
    return true;
}

int run(const QStringList& mssqlNames, const QStringList& postgresNames, bool fast) {
    QTemporaryDir folder;
    YesPlatform platform(folder.path());
    core::FileSettingsStore store(folder.filePath(QStringLiteral("Quenlor.ini")));
    screens::CommandGuard commands;
    screens::OdbcDatabaseGateway databases;
    screens::AppContext app{platform, store, commands, databases};

    screens::MemoryWindow connectionWindow, transferWindow;
    std::array<core::MemoryTextField, 10> texts;
    core::MemoryCheckBox localConnection, customizeToPostgres, customizeToSqlServer;
    screens::ConnectionScreenControls connectionControls{connectionWindow, {}, localConnection};
    using F = screens::ConnectionFields;
    // Each field with the variable that gives its value.
    const std::array<std::pair<screens::ConnectionField, const char*>, 10> fields{{
        {&F::postgresServer, "DORVANE_PG_HOST"},
        {&F::postgresPort, "DORVANE_PG_PORT"},
        {&F::postgresUser, "DORVANE_PG_USER"},
        {&F::postgresPassword, "DORVANE_PG_PASSWORD"},
        {&F::postgresDatabase, "DORVANE_PG_DATABASE"},
        {&F::mssqlServer, "DORVANE_MSSQL_HOST"},
        {&F::mssqlUser, "DORVANE_MSSQL_USER"},
        {&F::mssqlPassword, "DORVANE_MSSQL_PASSWORD"},
        {&F::mssqlDatabase, "DORVANE_MSSQL_DATABASE"},
        {&F::mssqlPort, "DORVANE_MSSQL_PORT"},
    }};
    for (std::size_t i = 0; i < fields.size(); ++i)
        connectionControls.fields.*fields[i].first = &texts[i];
    core::MemoryListBox mssqlTables, postgresTables;
    core::MemoryProgressBar progressBar;
    core::MemoryCheckBox fastCopyToPostgres, fastCopyToSqlServer;
    transfer::TransferScreenControls transferControls{
        mssqlTables, postgresTables, customizeToPostgres, customizeToSqlServer,
        progressBar, transferWindow, &fastCopyToPostgres, &fastCopyToSqlServer};

    screens::ConnectionScreen connectionScreen(app, connectionControls);
    bool customizationCancelled = false;
    cli::ConfirmingDialog customizationDialog(platform, connectionScreen, customizationCancelled);
    screens::TransferScreen transferScreen(app, transferWindow, transferControls, connectionScreen,
                                           customizationDialog, customizationCancelled);
    connectionScreen.attachTransferScreen(transferScreen);
    for (std::size_t i = 0; i < fields.size(); ++i)
        texts[i].onChange = [&connectionScreen, field = fields[i].first](const QString&) {
            connectionScreen.fieldChanged(field);
        };
    customizeToPostgres.onClick = [&] {
        transferScreen.customizationBoxClicked(screens::TableSide::SqlServer);
    };
    customizeToSqlServer.onClick = [&] {
        transferScreen.customizationBoxClicked(screens::TableSide::Postgres);
    };

    for (std::size_t i = 0; i < fields.size(); ++i) texts[i].setText(env(fields[i].second));

    connectionScreen.next();
    if (!transferScreen.loaded() || !transferWindow.visible()) {
        std::fprintf(stderr, "the transfer screen was not reached\n");
        return 1;
    }

    fastCopyToPostgres.setValue(fast ? 1 : 0);
    fastCopyToSqlServer.setValue(fast ? 1 : 0);
    // (a) and (b): every demo table each way, without customization.
    customizeToPostgres.setValue(0);
    customizeToSqlServer.setValue(0);
    if (!selectOnly(mssqlTables, mssqlNames)) return 1;
    transferScreen.sendToPostgres();
    if (!selectOnly(postgresTables, postgresNames)) return 1;
    transferScreen.sendToSqlServer();

    // (c): one table each way again (overwritten), through the customization dialog.
    customizeToPostgres.setValue(1);
    if (!selectOnly(mssqlTables, {mssqlNames.first()})) return 1;
    transferScreen.sendToPostgres();
    customizeToSqlServer.setValue(1);
    if (!selectOnly(postgresTables, {postgresNames.first()})) return 1;
    transferScreen.sendToSqlServer();
    return 0;
}

}  // namespace
}  // namespace dorvane

int main(int argc, char** argv) {
    const bool fast = argc == 4 && std::string_view(argv[1]) == "--fast";
    if (argc != 3 && !fast) {
        std::fprintf(stderr,
                     "usage: %s [--fast] SQLSERVER_TABLES POSTGRES_TABLES (comma-separated)\n",
                     argv[0]);
        return 2;
    }
    const QStringList mssql = QString::fromUtf8(argv[argc - 2]).split(u',', Qt::SkipEmptyParts);
    const QStringList postgres = QString::fromUtf8(argv[argc - 1]).split(u',', Qt::SkipEmptyParts);
    if (mssql.isEmpty() || postgres.isEmpty()) return 2;
    return dorvane::run(mssql, postgres, fast);
}
