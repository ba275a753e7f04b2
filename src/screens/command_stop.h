#pragma once
// Stopping a long command on the user's word. While a command that can stop runs, Esc
// or closing the window asks first; Yes sets the command's stop request, which it reads
// between rows or tables. A window closed that way closes once the command has ended,
// never while the command still uses it.

#include <QString>

#include "core/platform.h"
#include "transfer/command_context.h"

namespace dorvane::screens {

inline const QString kStopCopyQuestion = QStringLiteral("Stop the copy after the current row?");
// A fast copy keeps none of the rows of the table it is in the middle of.
inline const QString kStopFastCopyQuestion =
    QStringLiteral("Stop the copy and roll back the table being copied?");
inline const QString kStopDeletingQuestion =
    QStringLiteral("Stop deleting after the current table?");

class CommandStop {
  public:
    explicit CommandStop(core::Platform& platform) : platform_(platform) {}
    CommandStop(const CommandStop&) = delete;
    CommandStop& operator=(const CommandStop&) = delete;

    // While it lives, a command runs that stops when asked with `question`; an empty
    // question: one that cannot stop.
    class Running {
      public:
        Running(CommandStop& stop, const QString& question);
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

      private:
        CommandStop& stop_;
    };

    const transfer::StopRequest& request() const { return request_; }

    // Esc: asks whether to stop the command; outside one, nothing happens.
    void escapePressed();
    // Before the window closes: true keeps it open while the command runs, and it closes
    // after the command when the user chose to stop (closeAfterCommand).
    bool keepWindowOpen();
    // Once, after the command: true when the window is to close now.
    bool closeAfterCommand();

  private:
    bool askToStop();

    core::Platform& platform_;
    transfer::StopRequest request_;
    QString question_;  // empty while no command that can stop runs
    bool closeAfterCommand_ = false;
};

}  // namespace dorvane::screens
