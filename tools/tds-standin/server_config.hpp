#pragma once

#include <cstdint>
#include <string>

namespace standin {

// Servers that take no bulk load: one that refuses the INSERT BULK that starts it (a user
// without the permission), and one that accepts it but cannot read the rows that follow.
enum class BulkLoadRefusal { None, AtStart, Garbled };

struct ServerConfig {
    std::string listenAddress = "127.0.0.1";
    uint16_t port = 0;
    std::string backendConninfo;  // without dbname
    std::string backendPrefix = "standin_";
    std::string userName;
    std::string password;
    BulkLoadRefusal refuseBulkLoad = BulkLoadRefusal::None;

    // The libpq conninfo of the backend database behind a SQL Server database.
    std::string conninfoFor(const std::string& database) const;
};

// Parses the command line; throws std::invalid_argument with a usage message.
ServerConfig parseCommandLine(int argc, char** argv);

}  // namespace standin
