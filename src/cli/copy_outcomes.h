#pragma once
// What became of each table a copy was asked for, followed from what the run shows: the
// overwrite questions, the progress bar's reset after each table it began, and the
// closing message that names the tables not copied completely.

#include <QString>
#include <QStringList>
#include <vector>

namespace dorvane::cli {

class CopyOutcomes {
  public:
    // The tables in the order the run takes them (its source list from the bottom up).
    explicit CopyOutcomes(const QStringList& runOrder);

    // The overwrite question for this table was answered "No".
    void kept(const QString& listedName);
    // The run ended the next table it had begun; gives its name.
    QString tableEnded();
    // The run's closing message named these.
    void notCopied(const QStringList& names);

    // One line per table, "copied", "kept" or "not-copied", a tab and the name, in the
    // lists' order.
    QStringList summary() const;
    // True when every table was copied; a kept table counts as copied when `keptIsWanted`.
    bool allDone(bool keptIsWanted) const;

  private:
    enum class State { Waiting, Kept, Ended, NotCopied };
    struct Table {
        QString name;
        State state = State::Waiting;
    };
    std::vector<Table> tables_;
};

}  // namespace dorvane::cli
