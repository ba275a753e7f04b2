#include "socket.hpp"

#include "server_error.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace standin {
namespace {
std::runtime_error systemError(const std::string& what) {
    return std::runtime_error(what + ": " + std::strerror(errno));
}
}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

FileDescriptor listenTcp(const std::string& address, uint16_t port) {
    FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) throw systemError("socket");
    int one = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1) {
        throw std::runtime_error("not an IPv4 address: " + address);
    }
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        throw systemError("bind " + address + ":" + std::to_string(port));
    }
    if (::listen(fd.get(), 64) != 0) throw systemError("listen");
    return fd;
}

bool readFully(int fd, uint8_t* buffer, size_t n) {
    size_t done = 0;
    while (done < n) {
        ssize_t got = ::recv(fd, buffer + done, n - done, 0);
        if (got > 0) {
            done += static_cast<size_t>(got);
        } else if (got == 0) {
            if (done == 0) return false;
            throw ProtocolError("connection closed inside a packet");
        } else if (errno != EINTR) {
            throw ProtocolError(std::string("recv: ") + std::strerror(errno));
        }
    }
    return true;
}

void writeFully(int fd, const uint8_t* data, size_t n) {
    size_t done = 0;
    while (done < n) {
        ssize_t sent = ::send(fd, data + done, n - done, MSG_NOSIGNAL);
        if (sent >= 0) {
            done += static_cast<size_t>(sent);
        } else if (errno != EINTR) {
            throw ProtocolError(std::string("send: ") + std::strerror(errno));
        }
    }
}

bool peekByte(int fd, uint8_t& byte) {
    ssize_t got = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return got == 1;
}

PeekResult peekByteWithin(int fd, uint8_t& byte, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0) {
        if (errno == EINTR) return PeekResult::Nothing;
        throw ProtocolError(std::string("poll: ") + std::strerror(errno));
    }
    if (ready == 0) return PeekResult::Nothing;
    ssize_t got = ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got == 1) return PeekResult::Byte;
    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
        return PeekResult::Closed;
    return PeekResult::Nothing;
}

}  // namespace standin
