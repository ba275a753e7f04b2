#include "bench_platform.h"

#include <algorithm>

namespace dorvane::bench {
namespace {
double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}
}  // namespace

int BenchPlatform::messageBox(const QString& text, core::MsgButtons, core::MsgIcon,
                              const QString&) {
    messages_.push_back(text);
    return core::kAnswerNo;
}

QString BenchPlatform::inputBox(const QString& prompt, const QString&) {
    messages_.push_back(prompt);
    return QString();
}

void BenchPlatform::processEvents() {
    ++figures_.yields;
    mark();
}

void BenchPlatform::begin() {
    figures_ = {};
    messages_.clear();
    resetLongestStatement();
    last_ = Clock::now();
    lastStatementTime_ = statementTime();
}

StallFigures BenchPlatform::end() {
    mark();
    figures_.longestStatementMs = ms(longestStatement());
    return figures_;
}

void BenchPlatform::mark() {
    const Clock::time_point now = Clock::now();
    const Clock::duration inStatements = statementTime();
    const Clock::duration gap = now - last_;
    figures_.longestMs = std::max(figures_.longestMs, ms(gap));
    const double outside = ms(gap - (inStatements - lastStatementTime_));
    if (outside > figures_.longestOutsideSqlMs) {
        figures_.longestOutsideSqlMs = outside;
        if (describe) figures_.longestOutsideSqlWhere = describe();
    }
    last_ = now;
    lastStatementTime_ = inStatements;
}

}  // namespace dorvane::bench
