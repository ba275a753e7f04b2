#include "scripted_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/error_report.h"

namespace dorvane::testing {

int ScriptedPlatform::messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon icon,
                                 const QString& title) {
    messages.push_back({text, buttons, icon, title.isEmpty() ? appTitle_ : title, QString()});
    if (onMessage) onMessage(messages.back());
    if (buttons == core::MsgButtons::Ok) return core::kAnswerOk;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return core::kAnswerNo;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPlatform::messageBoxWithDetails(const QString& text, const QString& details) {
    messages.push_back({text, core::MsgButtons::Ok, core::MsgIcon::None, appTitle_, details});
    if (onMessage) onMessage(messages.back());
}

QString ScriptedPlatform::inputBox(const QString& prompt, const QString& defaultText) {
    inputPrompts.push_back(prompt);
    inputDefaults.push_back(defaultText);
    if (typed.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return QString();
    }
    QString text = typed.front();
    typed.pop_front();
    return text;
}

void ScriptedPlatform::processEvents() {
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents();
}

void ScriptedPlatform::shellOpen(const QString& target) {
    if (shellFails) throw std::runtime_error("File not found");
    shellTargets.push_back(target);
}

std::vector<QString> ScriptedPlatform::messageTexts() const {
    std::vector<QString> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

std::vector<QString> ScriptedPlatform::errorReports() const {
    std::vector<QString> out;
    for (const auto& m : messages)
        if (m.title == core::kErrorReportTitle) out.push_back(m.text);
    return out;
}

}  // namespace dorvane::testing
