#pragma once
// What the commands ask of the desktop: message boxes, the input box, the event loop,
// the shell and the application. The Qt windows implement it; tests script it.

#include <QString>

namespace dorvane::core {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Exclamation };

// Answers as the original platform numbers them.
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

class Platform {
  public:
    virtual ~Platform() = default;

    // An empty title means the application title.
    virtual int messageBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                           MsgIcon icon = MsgIcon::None, const QString& title = QString()) = 0;
    // A message with the reason behind it, which the user can unfold; a platform that
    // cannot show details shows the message alone.
    virtual void messageBoxWithDetails(const QString& text, const QString& details) {
        static_cast<void>(details);
        messageBox(text);
    }
    // The typed text, or the empty text when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& defaultText) = 0;
    // Runs the handlers of events already queued, once.
    virtual void processEvents() = 0;
    // Opens a file or an address in the desktop's default viewer; returns at once.
    // Throws std::runtime_error when it cannot be started.
    virtual void shellOpen(const QString& target) = 0;
    // The folder holding the program file, without a trailing separator.
    virtual QString programFolder() const = 0;
    virtual QString appTitle() const = 0;
    virtual void setAppTitle(const QString& title) = 0;
    // Closes every window at once.
    virtual void endProgram() = 0;
};

}  // namespace dorvane::core
