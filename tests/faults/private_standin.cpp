#include "private_standin.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>
#include <cstdlib>

#include "loopback_ports.h"
#include "test_servers.h"

namespace dorvane::testing {

PrivateStandin::PrivateStandin(const QStringList& options) : port_(closedPort()) {
    const char* backend = std::getenv("DORVANE_BACKEND_CONNINFO");
    if (!backend) {
        ADD_FAILURE() << "DORVANE_BACKEND_CONNINFO is not set: run through scripts/with-servers.sh";
        return;
    }
    const db::MssqlProfile shared = mssqlProfile();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(DORVANE_STANDIN_PATH),
                   QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                               QStringLiteral("--port"), port_, QStringLiteral("--backend"),
                               QString::fromUtf8(backend), QStringLiteral("--backend-prefix"),
                               QStringLiteral("standin_"), QStringLiteral("--user"), shared.user,
                               QStringLiteral("--password"), shared.password} +
                       options);
    if (!process_.waitForStarted(10000)) {
        ADD_FAILURE() << "the private stand-in did not start";
        return;
    }
    // Generous: a loaded machine may take long to start a process.
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (listening(port_.toUShort())) return;
        if (!running()) break;
        QThread::msleep(50);
    }
    ADD_FAILURE() << "the private stand-in does not listen on " << port_.toStdString();
}

PrivateStandin::~PrivateStandin() {
    kill();
}

void PrivateStandin::kill() {
    if (!running()) return;
    process_.kill();
    process_.waitForFinished(10000);
}

db::MssqlProfile PrivateStandin::profile() const {
    db::MssqlProfile p = mssqlProfile();
    p.port = port_;
    return p;
}

}  // namespace dorvane::testing
