#include "server.hpp"

#include "session.hpp"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

namespace standin {

Server::Server(ServerConfig config, Logger& log)
    : config_(std::move(config)), log_(log), listener_(listenTcp(config_.listenAddress, config_.port)) {
    log_.line("listening on " + config_.listenAddress + ":" + std::to_string(config_.port));
}

Server::~Server() { stopAll(); }

void Server::run(int signalFd) {
    for (;;) {
        pollfd fds[2] = {{listener_.get(), POLLIN, 0}, {signalFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
        }
        if (fds[1].revents) {
            log_.line("stop signal received");
            return;
        }
        if (!(fds[0].revents & POLLIN)) continue;
        int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        reapFinished();
        auto client = std::make_unique<Client>();
        client->socket = FileDescriptor(fd);
        Client* raw = client.get();
        uint16_t sessionId = nextSessionId_++;
        if (nextSessionId_ == 0) nextSessionId_ = 51;
        log_.line("[spid " + std::to_string(sessionId) + "] connected");
        raw->thread = std::thread([this, raw, sessionId] {
            Session(raw->socket.get(), sessionId, config_, log_).run();
            raw->finished = true;
        });
        clients_.push_back(std::move(client));
    }
}

void Server::reapFinished() {
    for (auto it = clients_.begin(); it != clients_.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
}

void Server::stopAll() {
    // Waking blocked reads ends each session; their sockets close after the join.
    for (auto& c : clients_) ::shutdown(c->socket.get(), SHUT_RDWR);
    for (auto& c : clients_) {
        if (c->thread.joinable()) c->thread.join();
    }
    clients_.clear();
}

}  // namespace standin
