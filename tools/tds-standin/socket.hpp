#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace standin {

// Owns a file descriptor and closes it once.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    int release();
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

FileDescriptor listenTcp(const std::string& address, uint16_t port);

// Reads exactly n bytes; false when the peer closed before the first byte.
bool readFully(int fd, uint8_t* buffer, size_t n);
void writeFully(int fd, const uint8_t* data, size_t n);

// Whether at least one byte is waiting, without consuming it; the first byte is stored.
bool peekByte(int fd, uint8_t& byte);

enum class PeekResult { Nothing, Byte, Closed };
// Waits up to timeoutMs for a byte to arrive and stores it without consuming it; tells
// whether one came or the peer closed the connection.
PeekResult peekByteWithin(int fd, uint8_t& byte, int timeoutMs);

}  // namespace standin
