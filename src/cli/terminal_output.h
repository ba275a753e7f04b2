#pragma once
// Standard error as the command line writes it: messages and finished progress lines,
// and on a terminal one line that keeps being rewritten. A message first ends that line,
// so that nothing is written over it.

#include <QString>
#include <cstdio>

namespace dorvane::cli {

class TerminalOutput {
  public:
    explicit TerminalOutput(std::FILE* stream);
    bool terminal() const { return terminal_; }
    // A text of one or more lines; the line breaks of a message box become "\n".
    void message(const QString& text);
    // Rewrites the current line (terminals only).
    void rewriteLine(const QString& text);
    // Ends the line being rewritten with this text, or writes it as a line of its own.
    void finishLine(const QString& text);

  private:
    void endRewrittenLine();

    std::FILE* stream_;
    bool terminal_;
    bool lineOpen_ = false;
};

}  // namespace dorvane::cli
