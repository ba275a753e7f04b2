#pragma once

#include <mutex>
#include <ostream>
#include <string>

namespace standin {

// Writes whole lines to a stream shared by all sessions.
class Logger {
public:
    explicit Logger(std::ostream& out) : out_(out) {}
    void line(const std::string& text) {
        std::lock_guard lock(mutex_);
        out_ << text << std::endl;
    }

private:
    std::ostream& out_;
    std::mutex mutex_;
};

}  // namespace standin
