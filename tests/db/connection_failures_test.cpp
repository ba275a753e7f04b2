// Connections that cannot be made fail with the driver's text, and in bounded time.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

#include "db/odbc/connection.h"
#include "db/odbc/connection_checks.h"
#include "db/odbc/connection_opening.h"
#include "db/values/db_error.h"
#include "server_fixture.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

// A loopback TCP socket bound to a free port; listening, it completes connections
// (the kernel accepts them) but never says a word.
class LoopbackSocket {
  public:
    explicit LoopbackSocket(bool listening) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        if (fd_ < 0) throw std::runtime_error("socket failed");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            (listening && ::listen(fd_, 16) != 0)) {
            ::close(fd_);
            throw std::runtime_error("cannot bind a loopback socket");
        }
        port_ = ntohs(address.sin_port);
    }
    ~LoopbackSocket() { ::close(fd_); }
    LoopbackSocket(const LoopbackSocket&) = delete;
    LoopbackSocket& operator=(const LoopbackSocket&) = delete;
    QString port() const { return QString::number(port_); }

  private:
    int fd_;
    int port_ = 0;
};

QString stringFor(DbServer server, const QString& port) {
    if (server == DbServer::Postgres) {
        return db::postgresConnectionString({QStringLiteral("127.0.0.1"), port, QStringLiteral("u"),
                                             QStringLiteral("p"), QStringLiteral("d")});
    }
    return db::mssqlConnectionString({QStringLiteral("127.0.0.1"), port, QStringLiteral("u"),
                                      QStringLiteral("p"), QStringLiteral("d")});
}

// These need no server of either kind: each driver is tried against loopback sockets.
class DbConnectFailure : public ::testing::TestWithParam<DbServer> {};

TEST_P(DbConnectFailure, NothingListeningFailsFast) {
    QString port;
    {
        LoopbackSocket bound(false);  // bound, not listening: connections are refused
        port = bound.port();
        db::Connection c;
        QElapsedTimer timer;
        timer.start();
        try {
            c.open(stringFor(GetParam(), port));
            FAIL() << "opened";
        } catch (const db::DbError& e) {
            EXPECT_FALSE(e.description().isEmpty());
        }
        EXPECT_LT(timer.elapsed(), 10000);  // a driver that waited would take its 15 s
        EXPECT_EQ(c.state(), db::kStateClosed);
    }
}

// libpq counts a login's time-out from the whole second it started in, so a 2-second
// time-out can end just after one second.
constexpr qint64 kShortestTwoSecondTimeOutMs = 900;

TEST_P(DbConnectFailure, SilentServerFailsWithinTheTimeOut) {
    LoopbackSocket silent(true);
    db::Connection c;
    c.setConnectionTimeout(2);
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(c.open(stringFor(GetParam(), silent.port())), db::DbError);
    EXPECT_GE(timer.elapsed(), kShortestTwoSecondTimeOutMs);
    EXPECT_LT(timer.elapsed(), 8000);
}

TEST_P(DbConnectFailure, ALoginBegunAheadLeavesTheCallerFreeAndFailsAtTheOpen) {
    LoopbackSocket silent(true);
    const QString string = stringFor(GetParam(), silent.port());
    QElapsedTimer timer;
    timer.start();
    db::ConnectionOpening started(string, 2);
    EXPECT_LT(timer.elapsed(), 1000);  // the login waits on its own thread
    db::Connection c;
    c.setConnectionTimeout(2);
    EXPECT_THROW(c.open(string, &started), db::DbError);
    EXPECT_GE(timer.elapsed(), kShortestTwoSecondTimeOutMs);
    EXPECT_LT(timer.elapsed(), 8000);
    EXPECT_EQ(c.state(), db::kStateClosed);
}

TEST_P(DbConnectFailure, ConnectionCheckSaysFalse) {
    LoopbackSocket bound(false);
    const QString port = bound.port();
    if (GetParam() == DbServer::Postgres) {
        EXPECT_FALSE(
            db::openPostgresSucceeds({QStringLiteral("127.0.0.1"), port, QStringLiteral("u"),
                                      QStringLiteral("p"), QStringLiteral("d")}));
    } else {
        EXPECT_FALSE(db::openMssqlSucceeds({QStringLiteral("127.0.0.1"), port, QStringLiteral("u"),
                                            QStringLiteral("p"), QStringLiteral("d")}));
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, DbConnectFailure,
                         ::testing::Values(DbServer::Postgres, DbServer::Mssql), serverLabel);

class DbLogin : public DbServerTest {};

INSTANTIATE_TEST_SUITE_P(Servers, DbLogin, ::testing::Values(DbServer::Postgres, DbServer::Mssql),
                         serverLabel);

// The silent check passes with the right password and fails with a wrong one, also when
// it logs in on a thread of its own as the screens have it; opening with the wrong one
// fails with the server's own words for it.
template <class Profile>
void expectPasswordChecked(Profile profile, bool (*opens)(const Profile&, const db::WhileWaiting&),
                           QString (*connectionString)(const Profile&), const QString& refusal) {
    const db::WhileWaiting turn = [] {};
    EXPECT_TRUE(opens(profile, {}));
    EXPECT_TRUE(opens(profile, turn));
    profile.password += QStringLiteral("-wrong");
    EXPECT_FALSE(opens(profile, {}));
    EXPECT_FALSE(opens(profile, turn));
    db::Connection c;
    try {
        c.open(connectionString(profile));
        FAIL() << "opened";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.description().contains(refusal)) << e.what();
    }
}

TEST_P(DbLogin, RightPasswordOpensAndWrongOneFails) {
    if (isPostgres()) {
        expectPasswordChecked(postgresProfile(), &db::openPostgresSucceeds,
                              &db::postgresConnectionString, QStringLiteral("password"));
    } else {
        expectPasswordChecked(mssqlProfile(), &db::openMssqlSucceeds, &db::mssqlConnectionString,
                              QStringLiteral("Login failed"));
    }
}

TEST_P(DbLogin, OpenCloseAndStates) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(connectionString());
    EXPECT_EQ(c.state(), db::kStateOpen);
    EXPECT_THROW(c.open(connectionString()), db::DbError);
    c.close();
    EXPECT_EQ(c.state(), db::kStateClosed);
    EXPECT_THROW(c.execute(QStringLiteral("SELECT 1")), db::DbError);
}

}  // namespace
}  // namespace dorvane::testing
