#include "screens/command_stop.h"

namespace dorvane::screens {

CommandStop::Running::Running(CommandStop& stop, const QString& question) : stop_(stop) {
    stop_.question_ = question;
    stop_.request_.clear();
    stop_.closeAfterCommand_ = false;
}

CommandStop::Running::~Running() {
    stop_.question_.clear();
}

void CommandStop::escapePressed() {
    if (question_.isEmpty() || request_.requested()) return;
    askToStop();
}

bool CommandStop::keepWindowOpen() {
    if (question_.isEmpty()) return false;
    // Already asked to stop: the window closes with the command, without asking again.
    if (request_.requested() || askToStop()) closeAfterCommand_ = true;
    return true;
}

bool CommandStop::closeAfterCommand() {
    const bool close = closeAfterCommand_;
    closeAfterCommand_ = false;
    return close;
}

bool CommandStop::askToStop() {
    if (platform_.messageBox(question_, core::MsgButtons::YesNo) != core::kAnswerYes) return false;
    request_.request();
    return true;
}

}  // namespace dorvane::screens
