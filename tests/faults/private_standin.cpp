#include "private_standin.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QThread>
#include <cstdlib>

#include "test_servers.h"

namespace dorvane::testing {

namespace {
bool listening(unsigned short port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected =
        ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}
}  // namespace

QString closedPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return QString::number(ntohs(address.sin_port));
}

PrivateStandin::PrivateStandin() : port_(closedPort()) {
    const char* backend = std::getenv("DORVANE_BACKEND_CONNINFO");
    if (!backend) {
        ADD_FAILURE() << "DORVANE_BACKEND_CONNINFO is not set: run through scripts/with-servers.sh";
        return;
    }
    const db::MssqlProfile shared = mssqlProfile();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(
        QStringLiteral(DORVANE_STANDIN_PATH),
        {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), port_,
         QStringLiteral("--backend"), QString::fromUtf8(backend),
         QStringLiteral("--backend-prefix"), QStringLiteral("standin_"), QStringLiteral("--user"),
         shared.user, QStringLiteral("--password"), shared.password});
    if (!process_.waitForStarted(10000)) {
        ADD_FAILURE() << "the private stand-in did not start";
        return;
    }
    for (int attempt = 0; attempt < 200; ++attempt) {
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
