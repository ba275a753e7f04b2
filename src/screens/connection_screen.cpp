#include "screens/connection_screen.h"

#include "core/app_info.h"
#include "core/procedure.h"
#include "screens/connection_settings.h"
#include "screens/pointer_rules.h"

namespace dorvane::screens {
namespace {
const QString kModule = QStringLiteral("Form1");
const QString kSqlServerToolDownload =
    QStringLiteral("https://www.sqlmanager.net/products/mssql/manager/download");
const QString kPgAdminDownload = QStringLiteral("https://www.pgadmin.org/download/");
const QString kLocalConnectionPicture = QStringLiteral("local-connection-example.jpg");

// The numbered lines of each help handler.
namespace mssql_help {
enum Line : int {
    Opening = 102,
    ToolAddress = 104,
    InstallTool = 106,
    SameLogin = 108,
    LoginVerdict = 110,
    ExpressEdition = 112,
    ShowAdvice = 114,
    AskForPicture = 116,
    ShowPicture = 118,
};
}  // namespace mssql_help

namespace postgres_help {
enum Line : int { Advice = 100, Verdict = 102, Address = 104, ShowAdvice = 106 };
}  // namespace postgres_help
}  // namespace

ConnectionScreen::ConnectionScreen(AppContext& app, ConnectionScreenControls& controls)
    : app_(app), controls_(controls) {}

db::PostgresProfile ConnectionScreen::postgres() const {
    const ConnectionFields& f = controls_.fields;
    return {f.postgresServer->text(), f.postgresPort->text(), f.postgresUser->text(),
            f.postgresPassword->text(), f.postgresDatabase->text()};
}

db::MssqlProfile ConnectionScreen::mssql() const {
    const ConnectionFields& f = controls_.fields;
    db::MssqlProfile profile{f.mssqlServer->text(), f.mssqlPort->text(), f.mssqlUser->text(),
                             f.mssqlPassword->text(), f.mssqlDatabase->text()};
    profile.localConnection = controls_.localConnection.value() == 1;
    return profile;
}

void ConnectionScreen::fieldChanged(ConnectionField field) {
    app_.settings.save(QString::fromLatin1(connectionSetting(field).key),
                       controls_.field(field).text());
}

void ConnectionScreen::localConnectionClicked() {
    app_.settings.save(QString::fromLatin1(connectionSetting(kLocalConnectionBox).key),
                       settingFromBoxValue(controls_.localConnection.value()));
}

void ConnectionScreen::showMssqlHelp() {
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton4_Click"));
    QString text;
    p.step(mssql_help::Opening, [&] {
        text = QStringLiteral(
                   "If you cannot establish connection to your MS SQL Server database with this "
                   "program, please go to: ") +
               QStringLiteral("\r\r");
    });
    p.step(mssql_help::ToolAddress,
           [&] { text += kSqlServerToolDownload + QStringLiteral("\r\r"); });
    p.step(mssql_help::InstallTool, [&] {
        text += QStringLiteral(
            "Download and install the EMS SQL Manager 2005 Lite for SQL Server. Try to connect "
            "to ");
    });
    p.step(mssql_help::SameLogin, [&] {
        text += QStringLiteral(
            "the same database (with the same login information you are using here). This will "
            "determine if ");
    });
    p.step(mssql_help::LoginVerdict, [&] {
        text += QStringLiteral("the login you are using is correct.") + QStringLiteral("\r\r");
    });
    p.step(mssql_help::ExpressEdition, [&] {
        text += QStringLiteral(
                    "If you are using Microsoft SQL Server Express Edition and connecting "
                    "locally, you may need to use") +
                QStringLiteral("\r\r") + QStringLiteral("localhost\\SQLEXPRESS") +
                QStringLiteral("\r\r") + QStringLiteral("for example, for Server.");
    });
    p.step(mssql_help::ShowAdvice, [&] { app_.platform.messageBox(text); });
    int answer = core::kAnswerNo;
    p.step(mssql_help::AskForPicture, [&] {
        answer = app_.platform.messageBox(
            QStringLiteral("Would you like to see an image of how I connect locally?"),
            core::MsgButtons::YesNo);
    });
    if (answer != core::kAnswerYes) return;
    p.step(mssql_help::ShowPicture, [&] {
        app_.platform.shellOpen(
            core::programFile(app_.platform.programFolder(), kLocalConnectionPicture));
    });
}

void ConnectionScreen::showPostgresHelp() {
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton5_Click"));
    QString advice, verdict, address;
    p.step(postgres_help::Advice, [&] {
        advice = QStringLiteral("If you can not connect, please try downloading pgAdmin III. ");
    });
    p.step(postgres_help::Verdict, [&] {
        verdict = QStringLiteral(
            "If you can not connect with that software, you know the login information you are "
            "providing here is incorrect.");
    });
    p.step(postgres_help::Address, [&] { address = kPgAdminDownload; });
    p.step(postgres_help::ShowAdvice, [&] {
        app_.platform.messageBox(advice + verdict + QStringLiteral("\r\n\r\n") + address);
    });
}

void ConnectionScreen::mouseOverPlainArea() {
    pointerOverPlainArea(controls_.form);
}

void ConnectionScreen::mouseOverPostgresPassword() {
    pointerOverPostgresPassword(controls_.form);
}

void ConnectionScreen::mouseOverCommand() {
    pointerOverCommand(controls_.form);
}

void ConnectionScreen::unloaded() {
    app_.platform.endProgram();
}

}  // namespace dorvane::screens
