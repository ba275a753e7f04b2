#pragma once
// The value a row loop read last. It names the value where the source row holds it, so
// nothing is copied per column; a failed read leaves the value read before it, which
// is kept aside once per row, before the source moves on.

#include "db/odbc/recordset.h"
#include "db/values/value.h"

namespace dorvane::transfer {

class CurrentValue {
  public:
    CurrentValue() = default;
    CurrentValue(const CurrentValue&) = delete;
    CurrentValue& operator=(const CurrentValue&) = delete;

    void read(const db::Recordset& source, int index) { at_ = &source.value(index); }
    const db::Value& get() const { return *at_; }

    // Before the source's row changes under the value.
    void keepBeforeMove() {
        if (at_ != &kept_) kept_ = *at_;
        at_ = &kept_;
    }

  private:
    db::Value kept_;
    const db::Value* at_ = &kept_;
};

}  // namespace dorvane::transfer
