// "Test Connection" of both frames. After the connection object exists, a second
// handler takes over: any failure skips to the "Could not connect" message, with no
// error report; the driver's reason goes to the message's details.
#include <functional>
#include <optional>
#include <stdexcept>

#include "core/procedure.h"
#include "db/odbc/connection.h"
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

// Both frames' handler: the connection object (the one reported line), then the busy
// pointer, the opening, the success message and the default pointer; on a failure the
// message with its reason and the default pointer. Events run while the server is waited
// for, so the test takes its turn among the commands like any of them.
void testConnection(AppContext& app, Window& form, const db::WhileWaiting& whileWaiting,
                    const QString& handler, const std::function<QString()>& connectionString,
                    const QString& password) {
    CommandGuard::Scope command(app.commands);
    if (!command.entered()) return;
    core::Platform& platform = app.platform;
    core::Procedure p(platform, kModule, handler);
    std::optional<db::Connection> connection;
    p.step(kCreateConnectionLine, [&] {
        connection.emplace();
        connection->setWhileWaiting(whileWaiting);
    });

    QString reason;
    const bool succeeded = runUntilFailure(
        [&] {
            form.setPointer(core::MousePointer::Busy);
            existing(connection).open(connectionString());
            platform.messageBox(kSucceeded);
            form.setPointer(core::MousePointer::Default);
        },
        reason);
    if (!succeeded) {
        platform.messageBoxWithDetails(kFailed, withoutPassword(reason, password));
        form.setPointer(core::MousePointer::Default);
    }
}

}  // namespace

void ConnectionScreen::testMssqlConnection() {
    testConnection(
        app_, controls_.form, eventsWhileWaiting(), QStringLiteral("PushButton1_Click"),
        [&] {
            const db::MssqlProfile profile = mssql();
            return controls_.localConnection.value() == 1 ? db::mssqlLocalConnectionString(profile)
                                                          : db::mssqlPortConnectionString(profile);
        },
        mssql().password);
}

void ConnectionScreen::testPostgresConnection() {
    testConnection(
        app_, controls_.form, eventsWhileWaiting(), QStringLiteral("PushButton3_Click"),
        [&] { return db::postgresConnectionString(postgres()); }, postgres().password);
}

}  // namespace dorvane::screens
