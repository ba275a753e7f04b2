#pragma once
// The tables of a run that were not copied, or not completely, named together once the
// run ends, so that a failure early in a run does not leave the rest unexplained.

#include <QString>
#include <QStringList>

#include "core/platform.h"

namespace dorvane::transfer {

class UncopiedTables {
  public:
    void add(const QString& table) {
        if (!tables_.contains(table)) tables_ << table;
    }
    bool empty() const { return tables_.isEmpty(); }
    // One message naming them; none when every table was copied.
    void tell(core::Platform& platform) const;

  private:
    QStringList tables_;  // in the order the run reached them
};

}  // namespace dorvane::transfer
