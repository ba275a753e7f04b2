#include "screens/connection_screen.h"

#include "core/app_info.h"
#include "core/procedure.h"
#include "screens/connection_settings.h"
#include "screens/pointer_rules.h"

namespace dorvane {
namespace {
const QString kModule = QStringLiteral("Form1");
const QString kSqlServerToolDownload =
    QStringLiteral("https://www.sqlmanager.net/products/mssql/manager/download");
const QString kPgAdminDownload = QStringLiteral("https://www.pgadmin.org/download/");
const QString kLocalConnectionPicture = QStringLiteral("local-connection-example.jpg");
}  // namespace

ConnectionScreen::ConnectionScreen(AppContext& app, ConnectionScreenControls& controls)
    : app_(app), controls_(controls) {}

db::PostgresProfile ConnectionScreen::postgres() const {
    return {controls_.text(1).text(), controls_.text(2).text(), controls_.text(3).text(),
            controls_.text(4).text(), controls_.text(5).text()};
}

db::MssqlProfile ConnectionScreen::mssql() const {
    db::MssqlProfile profile{controls_.text(6).text(), controls_.text(10).text(),
                             controls_.text(7).text(), controls_.text(8).text(),
                             controls_.text(9).text()};
    profile.localConnection = controls_.localConnection.value() == 1;
    return profile;
}

void ConnectionScreen::textChanged(int number) {
    app_.settings.save(QString::fromLatin1(connectionSetting(number).key),
                       controls_.text(number).text());
}

void ConnectionScreen::localConnectionClicked() {
    app_.settings.save(QString::fromLatin1(connectionSetting(kLocalConnectionBox).key),
                       settingFromBoxValue(controls_.localConnection.value()));
}

void ConnectionScreen::showMssqlHelp() {
    Procedure p(app_.platform, kModule, QStringLiteral("PushButton4_Click"));
    QString text;
    p.step(102, [&] {
        text = QStringLiteral(
                   "If you cannot establish connection to your MS SQL Server database with this "
                   "program, please go to: ") +
               QStringLiteral("\r\r");
    });
    p.step(104, [&] { text += kSqlServerToolDownload + QStringLiteral("\r\r"); });
    p.step(106, [&] {
        text += QStringLiteral(
            "Download and install the EMS SQL Manager 2005 Lite for SQL Server. Try to connect "
            "to ");
    });
    p.step(108, [&] {
        text += QStringLiteral(
            "the same database (with the same login information you are using here). This will "
            "determine if ");
    });
    p.step(110, [&] {
        text += QStringLiteral("the login you are using is correct.") + QStringLiteral("\r\r");
    });
    p.step(112, [&] {
        text += QStringLiteral(
                    "If you are using Microsoft SQL Server Express Edition and connecting "
                    "locally, you may need to use") +
                QStringLiteral("\r\r") + QStringLiteral("localhost\\SQLEXPRESS") +
                QStringLiteral("\r\r") + QStringLiteral("for example, for Server.");
    });
    p.step(114, [&] { app_.platform.messageBox(text); });
    int answer = kAnswerNo;
    p.step(116, [&] {
        answer = app_.platform.messageBox(
            QStringLiteral("Would you like to see an image of how I connect locally?"),
            MsgButtons::YesNo);
    });
    if (answer != kAnswerYes) return;
    p.step(118, [&] {
        app_.platform.shellOpen(
            programFile(app_.platform.programFolder(), kLocalConnectionPicture));
    });
}

void ConnectionScreen::showPostgresHelp() {
    Procedure p(app_.platform, kModule, QStringLiteral("PushButton5_Click"));
    QString advice, verdict, address;
    p.step(100, [&] {
        advice = QStringLiteral("If you can not connect, please try downloading pgAdmin III. ");
    });
    p.step(102, [&] {
        verdict = QStringLiteral(
            "If you can not connect with that software, you know the login information you are "
            "providing here is incorrect.");
    });
    p.step(104, [&] { address = kPgAdminDownload; });
    p.step(106, [&] {
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

}  // namespace dorvane
