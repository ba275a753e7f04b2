// The SQL Server login begun ahead of the PostgreSQL one is the very login the open step
// would make, so that step takes it, and meets its failure, in either form of profile.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace dorvane::testing
