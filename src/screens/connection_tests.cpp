// "Test Connection" of both frames. After the connection object exists, a second
// handler takes over: any failure skips to the "Could not connect" message, with no
// error report and without the driver's text.
#include <optional>
#include <stdexcept>

#include "core/procedure.h"
#include "db/connection.h"
#include "screens/connection_screen.h"

namespace dorvane::screens {
namespace {
const QString kModule = QStringLiteral("Form1");
const QString kSucceeded = QStringLiteral("Connection successful.");
const QString kFailed = QStringLiteral("Could not connect. Please check with your administrator.");
// The one numbered line either test reports; later lines are handled without a report.
constexpr int kCreateConnectionLine = 100;

db::Connection& existing(std::optional<db::Connection>& connection) {
    if (!connection) throw std::runtime_error("Object variable or With block variable not set");
    return *connection;
}

// Steps after the second handler is armed: true when all of them ran. Otherwise
// `reason` holds why, as the driver or the program put it.
template <class Steps>
bool runUntilFailure(Steps&& steps, QString& reason) {
    try {
        steps();
        return true;
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = QStringLiteral("Unknown error");
    }
    return false;
}

// A driver may repeat what it was given; the password is never shown.
QString withoutPassword(QString reason, const QString& password) {
    if (!password.isEmpty()) reason.replace(password, QStringLiteral("********"));
    return reason;
}

}  // namespace

void ConnectionScreen::testMssqlConnection() {
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton1_Click"));
    std::optional<db::Connection> connection;
    p.step(kCreateConnectionLine, [&] { connection.emplace(); });

    Window& form = controls_.form;
    QString reason;
    const bool succeeded = runUntilFailure(
        [&] {
            form.setPointer(core::MousePointer::Busy);  // line 102
            const db::MssqlProfile profile = mssql();
            if (controls_.localConnection.value() == 1) {                            // line 104
                existing(connection).open(db::mssqlLocalConnectionString(profile));  // line 106
            } else {
                existing(connection).open(db::mssqlPortConnectionString(profile));  // line 108
            }
            app_.platform.messageBox(kSucceeded);          // line 110
            form.setPointer(core::MousePointer::Default);  // line 112
        },
        reason);
    if (!succeeded) {  // line 114
        // line 116
        app_.platform.messageBoxWithDetails(kFailed, withoutPassword(reason, mssql().password));
        form.setPointer(core::MousePointer::Default);  // line 118
    }                                                  // line 120: cleared
}

void ConnectionScreen::testPostgresConnection() {
    core::Procedure p(app_.platform, kModule, QStringLiteral("PushButton3_Click"));
    std::optional<db::Connection> connection;
    p.step(kCreateConnectionLine, [&] { connection.emplace(); });

    Window& form = controls_.form;
    QString reason;
    const bool succeeded = runUntilFailure(
        [&] {
            form.setPointer(core::MousePointer::Busy);                            // line 102
            existing(connection).open(db::postgresConnectionString(postgres()));  // line 104
            app_.platform.messageBox(kSucceeded);                                 // line 106
            form.setPointer(core::MousePointer::Default);                         // line 108
        },
        reason);
    if (!succeeded) {  // line 110
        // line 112
        app_.platform.messageBoxWithDetails(kFailed, withoutPassword(reason, postgres().password));
        form.setPointer(core::MousePointer::Default);  // line 114
    }                                                  // line 116: cleared
}

}  // namespace dorvane::screens
