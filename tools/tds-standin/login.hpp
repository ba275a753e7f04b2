#pragma once

#include "byte_buffer.hpp"

#include <cstdint>
#include <string>

namespace standin {

// The fields of a LOGIN7 message the stand-in acts on, decoded to UTF-8.
struct LoginRequest {
    uint32_t tdsVersion = 0;
    uint32_t packetSize = 0;
    std::string userName;
    std::string password;
    std::string serverName;
    std::string database;
};

LoginRequest parseLogin7(const Bytes& payload);

// Answers PRELOGIN: TDS 7.4 server, encryption not supported, no MARS.
Bytes preloginResponse();

}  // namespace standin
