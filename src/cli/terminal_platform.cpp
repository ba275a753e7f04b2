#include "cli/terminal_platform.h"

#include <QCoreApplication>
#include <utility>

#include "core/app_info.h"
#include "screens/command_stop.h"

namespace dorvane::cli {
namespace {

// The texts of the transfers' question and closing message this platform answers and reads.
const QString kOverwriteTitle = QStringLiteral("Overwrite?");
const QString kOverwriteStart = QStringLiteral("Would you like to overwrite ");
const QString kNotCopiedStart =
    QStringLiteral("These tables were not copied, or not completely:\r\n\r\n");

}  // namespace

TerminalPlatform::TerminalPlatform(TerminalOutput& output, OverwriteAnswer overwrite,
                                   QString newName)
    : output_(output),
      overwrite_(overwrite),
      newName_(std::move(newName)),
      title_(core::kDisplayName) {}

int TerminalPlatform::messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon,
                                 const QString& title) {
    if (buttons != core::MsgButtons::YesNo) {
        output_.message(text);
        if (text.startsWith(kNotCopiedStart) && onNotCopied)
            onNotCopied(text.mid(kNotCopiedStart.size()).split(QStringLiteral("\r\n")));
        return core::kAnswerOk;
    }
    // Only the overwrite question can be answered Yes, and only by --overwrite: a table is
    // never dropped without being asked.
    const bool overwrite = title == kOverwriteTitle && text.startsWith(kOverwriteStart);
    const bool stop = text == screens::kStopCopyQuestion ||
                      text == screens::kStopFastCopyQuestion ||
                      text == screens::kStopDeletingQuestion;
    const bool yes = stop || (overwrite && overwrite_ == OverwriteAnswer::Overwrite);
    output_.message(text + (yes ? QStringLiteral(" Yes") : QStringLiteral(" No")));
    if (overwrite && !yes && onKept) onKept(text.mid(kOverwriteStart.size()).chopped(1));
    return yes ? core::kAnswerYes : core::kAnswerNo;
}

void TerminalPlatform::messageBoxWithDetails(const QString& text, const QString& details) {
    output_.message(text + u'\n' + details);
}

QString TerminalPlatform::inputBox(const QString& prompt, const QString&) {
    output_.message(prompt + u' ' + newName_);
    return newName_;
}

void TerminalPlatform::processEvents() {
    QCoreApplication::processEvents();
    if (eachTurn) eachTurn();
}

void TerminalPlatform::shellOpen(const QString&) {}

QString TerminalPlatform::programFolder() const {
    return QCoreApplication::applicationDirPath();
}

}  // namespace dorvane::cli
