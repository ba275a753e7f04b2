#pragma once
// The transfer screen's progress bar on standard error: on a terminal one line per table,
// rewritten as rows are sent; elsewhere one line per finished table. Each line names the
// table, the rows sent of the rows expected, the rate and the time the table took.

#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "cli/terminal_output.h"
#include "core/controls.h"

namespace dorvane::cli {

class ProgressLine : public core::ProgressBar {
  public:
    explicit ProgressLine(TerminalOutput& output);

    double value() const override { return value_; }
    void setValue(double value) override { value_ = value; }
    QString text() const override { return text_; }
    void setText(const QString& text) override;

    // Told when the bar is reset after a table; gives the table's name.
    std::function<QString()> onTableEnded;

  private:
    QString withRateAndTime(const QString& rowsText) const;

    TerminalOutput& output_;
    double value_ = 0;
    QString text_;
    QString rowsText_;  // the table's last "rows sent" text
    QElapsedTimer table_;
    QElapsedTimer lastRewrite_;
};

}  // namespace dorvane::cli
