#include "cli/command_line.h"

#include <array>
#include <utility>

#include "cli/profile_fields.h"

namespace dorvane::cli {
namespace {

constexpr std::array<std::pair<Subcommand, const char*>, 4> kSubcommands{{
    {Subcommand::Tables, "tables"},
    {Subcommand::Copy, "copy"},
    {Subcommand::Drop, "drop"},
    {Subcommand::Rename, "rename"},
}};

std::optional<Server> serverNamed(const QString& name) {
    if (name == u"postgres") return Server::Postgres;
    if (name == u"sqlserver") return Server::SqlServer;
    return std::nullopt;
}

const ProfileField* profileFieldOption(const QString& option) {
    for (const ProfileField& field : kProfileFields)
        if (field.option && option == QLatin1StringView(field.option)) return &field;
    return nullptr;
}

// Reads the arguments one by one; an option's value may follow it or come after "=".
class ArgumentReader {
  public:
    ArgumentReader(const QStringList& arguments, CommandLine& command)
        : arguments_(arguments), command_(command) {}

    bool targetGiven() const { return toGiven_; }

    QString read() {
        for (at_ = 1; at_ < arguments_.size() && error_.isEmpty(); ++at_) {
            QString argument = arguments_[at_];
            if (optionsEnded_ || !argument.startsWith(u'-') || argument == u"-") {
                command_.tables << argument;
                continue;
            }
            if (argument == u"--") {
                optionsEnded_ = true;
                continue;
            }
            std::optional<QString> attached;
            const qsizetype equals = argument.indexOf(u'=');
            if (argument.startsWith(u"--") && equals > 0) {
                attached = argument.mid(equals + 1);
                argument.truncate(equals);
            }
            readOption(argument, attached);
        }
        return error_;
    }

  private:
    void readOption(const QString& option, const std::optional<QString>& attached) {
        const bool copying = command_.subcommand == Subcommand::Copy;
        if (option == u"--help" || option == u"-h") {
            command_.help = true;
        } else if (option == u"--settings") {
            command_.settingsFile = value(option, attached);
        } else if (const ProfileField* field = profileFieldOption(option)) {
            const QString given = value(option, attached);
            if (field->field == screens::kLocalConnectionBox && given != u"0" && given != u"1")
                error_ = option + QStringLiteral(" takes 0 or 1");
            command_.fieldOptions.insert(
                QString::fromLatin1(screens::connectionSetting(field->field).key), given);
        } else if (option == u"--pg-password" || option == u"--mssql-password") {
            error_ = QStringLiteral(
                "passwords are not taken on the command line: keep them in the profile, set "
                "DORVANE_PG_PASSWORD or DORVANE_MSSQL_PASSWORD, or type them when asked");
        } else if (copying && option == u"--to") {
            const QString target = value(option, attached);
            if (const std::optional<Server> server = serverNamed(target))
                command_.server = *server, toGiven_ = true;
            else if (error_.isEmpty())
                error_ = QStringLiteral("--to takes postgres or sqlserver, not \"%1\"").arg(target);
        } else if (copying && !attached && flag(option)) {
        } else {
            error_ = QStringLiteral("unknown option %1").arg(option);
        }
    }

    bool flag(const QString& option) {
        if (option == u"--fast") return command_.fast = true;
        if (option == u"--natural-types") return command_.naturalTypes = true;
        if (option == u"--customize-as-proposed") return command_.customizeAsProposed = true;
        if (option == u"--all") return command_.all = true;
        if (option == u"--overwrite" || option == u"--keep-existing") {
            const OverwriteAnswer answer = option == u"--overwrite" ? OverwriteAnswer::Overwrite
                                                                    : OverwriteAnswer::KeepExisting;
            if (command_.overwrite != OverwriteAnswer::Unanswered && command_.overwrite != answer)
                error_ = QStringLiteral("--overwrite and --keep-existing exclude each other");
            command_.overwrite = answer;
            return true;
        }
        return false;
    }

    QString value(const QString& option, const std::optional<QString>& attached) {
        if (attached) return *attached;
        if (at_ + 1 < arguments_.size()) return arguments_[++at_];
        if (error_.isEmpty()) error_ = QStringLiteral("%1 needs a value").arg(option);
        return QString();
    }

    const QStringList& arguments_;
    CommandLine& command_;
    qsizetype at_ = 1;
    bool optionsEnded_ = false;
    bool toGiven_ = false;
    QString error_;
};

// What the positional arguments must be, once the options are read.
QString checkOperands(CommandLine& command, bool toGiven) {
    QStringList& operands = command.tables;
    if (command.subcommand == Subcommand::Copy) {
        if (!toGiven) return QStringLiteral("copy needs --to postgres or --to sqlserver");
        if (command.all && !operands.isEmpty())
            return QStringLiteral("name tables or give --all, not both");
        if (!command.all && operands.isEmpty())
            return QStringLiteral("name the tables to copy, or give --all");
        return QString();
    }
    if (operands.isEmpty() || !serverNamed(operands.first()))
        return QStringLiteral("%1 needs postgres or sqlserver first")
            .arg(subcommandName(command.subcommand));
    command.server = *serverNamed(operands.takeFirst());
    if (command.subcommand == Subcommand::Tables && !operands.isEmpty())
        return QStringLiteral("tables takes no table names");
    if (command.subcommand == Subcommand::Drop && operands.isEmpty())
        return QStringLiteral("name the tables to drop");
    if (command.subcommand == Subcommand::Rename && operands.size() != 2)
        return QStringLiteral("rename takes the table's name and its new name");
    return QString();
}

}  // namespace

QString subcommandName(Subcommand subcommand) {
    for (const auto& [which, name] : kSubcommands)
        if (which == subcommand) return QString::fromLatin1(name);
    return QString();
}

bool isSubcommand(const QString& firstArgument) {
    for (const auto& entry : kSubcommands)
        if (firstArgument == QLatin1StringView(entry.second)) return true;
    return false;
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine command;
    bool known = false;
    for (const auto& [which, name] : kSubcommands) {
        if (!arguments.isEmpty() && arguments.first() == QLatin1StringView(name)) {
            command.subcommand = which;
            known = true;
        }
    }
    if (!known)
        return {std::nullopt, QStringLiteral("the subcommands are tables, copy, drop and rename")};
    ArgumentReader reader(arguments, command);
    QString error = reader.read();
    if (command.help) return {command, QString()};
    if (error.isEmpty()) error = checkOperands(command, reader.targetGiven());
    if (!error.isEmpty()) return {std::nullopt, error};
    return {command, QString()};
}

}  // namespace dorvane::cli
