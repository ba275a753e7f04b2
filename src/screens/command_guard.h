#pragma once

namespace dorvane::screens {

// One command at a time: while a command that changes lists or databases runs (and
// yields to the event loop), another such command is ignored.
class CommandGuard {
  public:
    class Scope {
      public:
        explicit Scope(CommandGuard& guard) : guard_(guard), entered_(!guard.running_) {
            if (entered_) guard_.running_ = true;
        }
        ~Scope() {
            if (entered_) guard_.running_ = false;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        // False when another command was already running: do nothing.
        bool entered() const { return entered_; }

      private:
        CommandGuard& guard_;
        bool entered_;
    };
    bool running() const { return running_; }

  private:
    bool running_ = false;
};

}  // namespace dorvane::screens
