// The SQL Server login begun ahead of the PostgreSQL one is the very login the open step
// would make, so that step takes it, and meets its failure, in either form of profile. The
// list entry a DROP removed, as the target compares names.
#include <gtest/gtest.h>

#include "memory_controls.h"
#include "core/procedure.h"
#include "db/values/connection_strings.h"
#include "scripted_platform.h"
#include "transfer/transfer_steps.h"

namespace dorvane::testing {
namespace {

class FixedProfiles : public db::ProfileSource {
  public:
    db::PostgresProfile postgres() const override { return {}; }
    db::MssqlProfile mssql() const override { return ms; }
    db::MssqlProfile ms{QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("sa"),
                        QStringLiteral("pw;{x}"), QStringLiteral("db")};
};

TEST(MssqlLoginAhead, IsTheLoginOfTheOpenStepInBothForms) {
    FixedProfiles profiles;
    for (const bool local : {false, true}) {
        profiles.ms.localConnection = local;
        const auto started = transfer::transfer_steps::startMssqlLogin(profiles);
        ASSERT_TRUE(started);
        const QString stepString = local ? db::mssqlLocalConnectionString(profiles.ms)
                                         : db::mssqlPortConnectionString(profiles.ms);
        EXPECT_TRUE(started->opens(stepString, transfer::transfer_steps::kTimeoutSeconds)) << local;
    }
}

TEST(MssqlLoginAhead, TheOpenStepTakesItAndReportsItsFailureAtItsLine) {
    FixedProfiles profiles;  // port 1: nothing listens, the login fails at once
    const auto started = transfer::transfer_steps::startMssqlLogin(profiles);
    ScriptedPlatform platform;
    core::Procedure p(platform, QStringLiteral("Form2"), QStringLiteral("PushButton4_Click"));
    const auto connection = std::make_unique<db::Connection>();

    transfer::transfer_steps::openMssql(p, connection, db::kUseServer, profiles, 124,
                                        started.get());

    EXPECT_FALSE(started->opens(db::mssqlPortConnectionString(profiles.ms),
                                transfer::transfer_steps::kTimeoutSeconds));  // taken
    EXPECT_EQ(connection->state(), db::kStateClosed);
    const auto reports = platform.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("PushButton4_Click at line 134")))
        << reports[0].toStdString();
}

TEST(DroppedListEntry, IsTheOneTheTargetTakesForTheName) {
    struct Case {
        std::vector<QString> listed;
        Qt::CaseSensitivity names;
        std::vector<QString> left;
    };
    const Case cases[] = {
        {{"CUSTOMERS", "orders"}, Qt::CaseInsensitive, {"orders"}},
        // A server that tells case apart may hold both: the one spelt alike went.
        {{"CUSTOMERS", "customers"}, Qt::CaseInsensitive, {"CUSTOMERS"}},
        {{"Customers", "orders"}, Qt::CaseSensitive, {"Customers", "orders"}},
    };
    for (const Case& c : cases) {
        core::MemoryListBox list(false);
        for (const QString& text : c.listed) list.add(text);
        transfer::transfer_steps::removeDroppedEntry(list, QStringLiteral("customers"), c.names);
        EXPECT_EQ(list.texts(), c.left) << c.listed[0].toStdString() << " " << c.names;
    }
}

}  // namespace
}  // namespace dorvane::testing
