#include "server_config.hpp"

#include "pg_connection.hpp"
#include "text_encoding.hpp"

#include <stdexcept>

namespace standin {

std::string ServerConfig::conninfoFor(const std::string& database) const {
    return backendConninfo + " dbname=" + conninfoValue(backendPrefix + foldCase(database));
}

ServerConfig parseCommandLine(int argc, char** argv) {
    const std::string usage =
        "usage: dorvane-tds-standin --listen ADDRESS --port N --backend CONNINFO "
        "[--backend-prefix PREFIX] --user NAME --password SECRET "
        "[--refuse-bulk-load start|garble]";
    ServerConfig config;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc) throw std::invalid_argument(option + " needs a value\n" + usage);
        std::string value = argv[++i];
        if (option == "--listen")
            config.listenAddress = value;
        else if (option == "--port") {
            int port = std::stoi(value);
            if (port <= 0 || port > 65535) throw std::invalid_argument("bad port " + value);
            config.port = static_cast<uint16_t>(port);
        } else if (option == "--backend")
            config.backendConninfo = value;
        else if (option == "--backend-prefix")
            config.backendPrefix = value;
        else if (option == "--user")
            config.userName = value;
        else if (option == "--password")
            config.password = value;
        else if (option == "--refuse-bulk-load") {
            if (value == "start")
                config.refuseBulkLoad = BulkLoadRefusal::AtStart;
            else if (value == "garble")
                config.refuseBulkLoad = BulkLoadRefusal::Garbled;
            else
                throw std::invalid_argument("bad --refuse-bulk-load " + value + "\n" + usage);
        } else
            throw std::invalid_argument("unknown option " + option + "\n" + usage);
    }
    if (config.port == 0 || config.backendConninfo.empty() || config.userName.empty()) {
        throw std::invalid_argument(usage);
    }
    return config;
}

}  // namespace standin
