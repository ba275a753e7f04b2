#include "cli/copy_outcomes.h"

#include <algorithm>

namespace dorvane::cli {

CopyOutcomes::CopyOutcomes(const QStringList& runOrder) {
    for (const QString& name : runOrder) tables_.push_back({name});
}

void CopyOutcomes::kept(const QString& listedName) {
    // The question may spell the name as the target lists it.
    for (Table& table : tables_) {
        if (table.state == State::Waiting &&
            table.name.compare(listedName, Qt::CaseInsensitive) == 0) {
            table.state = State::Kept;
            return;
        }
    }
}

QString CopyOutcomes::tableEnded() {
    for (Table& table : tables_) {
        if (table.state == State::Waiting) {
            table.state = State::Ended;
            return table.name;
        }
    }
    return QString();
}

void CopyOutcomes::notCopied(const QStringList& names) {
    for (Table& table : tables_) {
        const bool named = std::any_of(names.begin(), names.end(), [&](const QString& name) {
            return table.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (named && table.state != State::Kept) table.state = State::NotCopied;
    }
}

QStringList CopyOutcomes::summary() const {
    QStringList lines;
    for (auto table = tables_.rbegin(); table != tables_.rend(); ++table) {
        const QString outcome = table->state == State::Ended  ? QStringLiteral("copied")
                                : table->state == State::Kept ? QStringLiteral("kept")
                                                              : QStringLiteral("not-copied");
        lines << outcome + u'\t' + table->name;
    }
    return lines;
}

bool CopyOutcomes::allDone(bool keptIsWanted) const {
    return std::all_of(tables_.begin(), tables_.end(), [&](const Table& table) {
        return table.state == State::Ended || (keptIsWanted && table.state == State::Kept);
    });
}

}  // namespace dorvane::cli
