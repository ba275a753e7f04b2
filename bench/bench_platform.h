#pragma once
// A platform for the benchmark: answers nothing (a copy that asks or reports has
// failed), and watches the event loop: the longest gap between two event processings,
// and the longest once the time spent waiting on a server is taken out of each gap.

#include <QString>
#include <functional>
#include <vector>

#include "core/platform.h"
#include "statement_clock.h"

namespace dorvane::bench {

struct StallFigures {
    double longestMs = 0;            // between two processings, whatever ran
    double longestOutsideSqlMs = 0;  // the same, less the time waiting on a server
    double longestStatementMs = 0;   // the longest single wait meanwhile
    long yields = 0;
    QString longestOutsideSqlWhere;  // what `describe` said at the end of that gap
};

class BenchPlatform : public core::Platform {
  public:
    int messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon icon,
                   const QString& title) override;
    QString inputBox(const QString& prompt, const QString& defaultText) override;
    void processEvents() override;
    void shellOpen(const QString&) override {}
    QString programFolder() const override { return QStringLiteral("."); }
    QString appTitle() const override { return title_; }
    void setAppTitle(const QString& title) override { title_ = title; }
    void endProgram() override {}

    // The watch runs from begin to end: the command's start and end count as processings.
    void begin();
    StallFigures end();

    const std::vector<QString>& messages() const { return messages_; }
    // Says where the command is, to place the longest gap outside server waits.
    std::function<QString()> describe;

  private:
    void mark();

    QString title_ = QStringLiteral("Dorvane");
    std::vector<QString> messages_;
    Clock::time_point last_{};
    Clock::duration lastStatementTime_{};
    StallFigures figures_;
};

}  // namespace dorvane::bench
