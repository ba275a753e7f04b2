#pragma once
// A target table that a copy is to replace, and the check that a copy which failed left it
// as it was: its rows, its list entry, and the table named at the end of the run.

#include <gtest/gtest.h>

#include "directions.h"

namespace dorvane::testing {

// A table of the name on the direction's target, holding one row 'old', and listed.
inline void createOldTarget(const Direction& d, TransferHarness& h, const QString& t) {
    d.target.exec("CREATE TABLE " + d.target.quote(t) + "(old VARCHAR(10))");
    d.target.exec("INSERT INTO " + d.target.quote(t) + " VALUES('old')");
    (h.*d.target.list).add(t);
}

inline void expectOldTableKept(const Direction& d, const TransferHarness& h, const QString& t) {
    EXPECT_EQ(d.target.rows(t), (Rows{{db::Value::text("old")}}));
    EXPECT_EQ((h.*d.target.list).texts(), (std::vector<QString>{t}));
    ASSERT_FALSE(h.platform.messages.empty());
    EXPECT_EQ(h.platform.messages.back().text,
              QStringLiteral("These tables were not copied, or not completely:\r\n\r\n") + t);
}

}  // namespace dorvane::testing
