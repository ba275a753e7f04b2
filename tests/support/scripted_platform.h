#pragma once
// A platform for tests: records every message box and input box, answers them from
// scripts, counts event-loop yields and shell starts.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "core/platform.h"
#include "qstring_printer.h"

namespace dorvane::testing {

struct ShownMessage {
    QString text;
    core::MsgButtons buttons;
    core::MsgIcon icon;
    QString title;  // as shown: the application title when none was given
    QString details;
};

class ScriptedPlatform : public core::Platform {
  public:
    int messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon icon,
                   const QString& title) override;
    void messageBoxWithDetails(const QString& text, const QString& details) override;
    QString inputBox(const QString& prompt, const QString& defaultText) override;
    void processEvents() override;
    void shellOpen(const QString& target) override;
    QString programFolder() const override { return programFolder_; }
    QString appTitle() const override { return appTitle_; }
    void setAppTitle(const QString& title) override { appTitle_ = title; }
    void endProgram() override { ++endProgramCalls; }

    // Answers for Yes/No questions, used in order; with none left a question fails the test.
    std::deque<int> answers;
    // Texts the user "types" into input boxes, in order; std::nullopt-like cancel is "".
    std::deque<QString> typed;
    // Runs on every processEvents, e.g. to click another button mid-command.
    std::function<void()> onProcessEvents;
    // Runs when a message box is shown (after it is recorded).
    std::function<void(const ShownMessage&)> onMessage;

    std::vector<ShownMessage> messages;
    std::vector<QString> inputPrompts;
    std::vector<QString> inputDefaults;
    std::vector<QString> shellTargets;
    int processEventsCalls = 0;
    int endProgramCalls = 0;
    bool shellFails = false;

    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    // Texts of all messages shown, in order.
    std::vector<QString> messageTexts() const;
    // Only the error reports (title "Application Error").
    std::vector<QString> errorReports() const;

  private:
    QString programFolder_ = QStringLiteral(".");
    QString appTitle_ = QStringLiteral("Dorvane");
};

}  // namespace dorvane::testing
