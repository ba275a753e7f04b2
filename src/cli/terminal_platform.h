#pragma once
// The desktop as the command line stands in for it: every message box's text goes to
// standard error, and the questions are answered as the command's options say, without
// waiting for anyone. The question whether to stop, asked only after a Ctrl-C, is "Yes".

#include <QStringList>
#include <functional>

#include "cli/command_line.h"
#include "cli/terminal_output.h"
#include "core/platform.h"

namespace dorvane::cli {

class TerminalPlatform : public core::Platform {
  public:
    // `newName`: what the input box is answered (the new name of a rename).
    TerminalPlatform(TerminalOutput& output, OverwriteAnswer overwrite, QString newName = {});

    int messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon icon,
                   const QString& title) override;
    void messageBoxWithDetails(const QString& text, const QString& details) override;
    QString inputBox(const QString& prompt, const QString& defaultText) override;
    void processEvents() override;
    void shellOpen(const QString& target) override;
    QString programFolder() const override;
    QString appTitle() const override { return title_; }
    void setAppTitle(const QString& title) override { title_ = title; }
    void endProgram() override {}

    // Told the table whose overwrite was declined, as the question names it.
    std::function<void(const QString&)> onKept;
    // Told the tables a copy's closing message names.
    std::function<void(const QStringList&)> onNotCopied;
    // Run at each turn of the event loop, as the commands take them while they work.
    std::function<void()> eachTurn;

  private:
    TerminalOutput& output_;
    OverwriteAnswer overwrite_;
    QString newName_;
    QString title_;
};

}  // namespace dorvane::cli
