#pragma once
// What the maintenance tests share: picking entries of a server's list, and a fixture run
// once per server.

#include <gtest/gtest.h>

#include <string>

#include "directions.h"
#include "transfer_harness.h"

namespace dorvane::testing {

// Adds a table name to a list and selects it, without making it current.
inline void addSelected(core::MemoryListBox& list, const QString& name) {
    list.add(name);
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i) == name) list.setSelected(i, true);
}

inline int indexOf(const core::MemoryListBox& list, const QString& name) {
    for (int i = 0; i < list.count(); ++i)
        if (list.text(i) == name) return i;
    return -1;
}

// A case run against each server; the parameter P names its server as `server`.
template <class P>
class OnEachServer : public ::testing::TestWithParam<P> {
  protected:
    TransferHarness f;
    const P& on = this->GetParam();
    core::MemoryListBox& list() { return f.*on.server.list; }
    void createTable(const QString& name) {
        on.server.exec("CREATE TABLE " + on.server.quote(name) + "(id INT)");
    }
};

// Names each instantiation after its server.
struct ServerName {
    template <class P>
    std::string operator()(const ::testing::TestParamInfo<P>& info) const {
        return info.param.server.name;
    }
};

}  // namespace dorvane::testing
