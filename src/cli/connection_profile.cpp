#include "cli/connection_profile.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/profile_fields.h"

namespace dorvane::cli {
namespace {

QString keyOf(screens::ConnectionField field) {
    return QString::fromLatin1(screens::connectionSetting(field).key);
}

// Echo off while the password is typed; restored however the reading ends.
class HiddenTyping {
  public:
    HiddenTyping() {
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~HiddenTyping() {
        if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

}  // namespace

Environment processEnvironment() {
    return [](const char* name) -> std::optional<QString> {
        if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
        return qEnvironmentVariable(name);
    };
}

ProfileValues profileValues(const core::SettingsStore& store, const Environment& environment,
                            const QHash<QString, QString>& options) {
    ProfileValues values;
    for (const ProfileField& field : kProfileFields) {
        const screens::ConnectionSetting& setting = screens::connectionSetting(field.field);
        const QString key = QString::fromLatin1(setting.key);
        QString value = store.get(key, QString::fromLatin1(setting.defaultValue));
        if (const std::optional<QString> fromEnvironment = environment(field.variable))
            value = *fromEnvironment;
        value = options.value(key, value);
        values.insert(key, value);
    }
    return values;
}

void askForEmptyPassword(ProfileValues& values, Server server) {
    const bool postgres = server == Server::Postgres;
    const QString key = keyOf(postgres ? &screens::ConnectionFields::postgresPassword
                                       : &screens::ConnectionFields::mssqlPassword);
    if (!values.value(key).isEmpty() || !isatty(STDIN_FILENO) || !isatty(STDERR_FILENO)) return;
    const QString user = values.value(keyOf(postgres ? &screens::ConnectionFields::postgresUser
                                                     : &screens::ConnectionFields::mssqlUser));
    const QString host = values.value(keyOf(postgres ? &screens::ConnectionFields::postgresServer
                                                     : &screens::ConnectionFields::mssqlServer));
    std::fprintf(stderr, "%s password for %s@%s: ", postgres ? "PostgreSQL" : "SQL Server",
                 user.toUtf8().constData(), host.toUtf8().constData());
    std::fflush(stderr);
    std::string typed;
    {
        const HiddenTyping hidden;
        std::getline(std::cin, typed);
    }
    std::fputc('\n', stderr);
    values.insert(key, QString::fromStdString(typed));
}

}  // namespace dorvane::cli
