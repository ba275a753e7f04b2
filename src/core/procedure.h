#pragma once
// Trapped procedures: numbered steps, each guarded on its own. A failing step shows the
// error report and the procedure carries on with the next step, so a procedure reads
// as a list of numbered lines:
//
//     Procedure p(platform, "Form2", "PushButton1_Click");
//     p.step(100, [&] { ... });
//     if (p.test(102, [&] { return list.currentIndex() == -1; })) { ... }
//
// Work that calls an untrapped procedure simply runs inside a step: its failure is
// reported with this procedure's label and the step's line.

#include <QString>
#include <exception>
#include <functional>
#include <utility>

namespace dorvane::core {

class Platform;

// The description text of a failure, as the failing component gave it.
QString failureDescription(const std::exception_ptr& failure);

class Procedure {
  public:
    Procedure(Platform& platform, const QString& module, const QString& name);

    // The two transfers show their current statement at the end of the report.
    void showStatementInReport(const QString* statement) { statement_ = statement; }

    // Runs before each report this procedure shows, e.g. to show first what earlier work
    // still has to report. Not run again from within itself.
    void setBeforeReport(std::function<void()> hook) { beforeReport_ = std::move(hook); }

    int line() const { return line_; }
    QString label() const;

    // Runs the step numbered `line`; false when it failed (the report was shown).
    template <class Body>
    bool step(int line, Body&& body) {
        line_ = line;
        return guarded(std::forward<Body>(body));
    }

    // Tests a condition on line `line`. A test that fails is reported and counts as
    // true: the steps it guards run.
    template <class Condition>
    bool test(int line, Condition&& condition) {
        line_ = line;
        try {
            return static_cast<bool>(condition());
        } catch (...) {
            report(std::current_exception());
            return true;
        }
    }

    // Work that carries no line number of its own (reported with the current line).
    template <class Body>
    bool unnumbered(Body&& body) {
        return guarded(std::forward<Body>(body));
    }

    // Shows the error report for a failure at the current line.
    void report(const std::exception_ptr& failure);

  private:
    template <class Body>
    bool guarded(Body&& body) {
        try {
            body();
            return true;
        } catch (...) {
            report(std::current_exception());
            return false;
        }
    }

    Platform& platform_;
    // Kept apart and joined only for a report: procedures such as the one that runs each
    // row's statement are made once per row.
    QString module_;
    QString name_;
    int line_ = 0;
    const QString* statement_ = nullptr;
    std::function<void()> beforeReport_;
};

}  // namespace dorvane::core
