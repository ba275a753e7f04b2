#pragma once

#include "logger.hpp"
#include "server_config.hpp"
#include "socket.hpp"

#include <atomic>
#include <list>
#include <memory>
#include <thread>

namespace standin {

// Accepts clients and runs each in its own thread until a stop signal arrives.
class Server {
public:
    Server(ServerConfig config, Logger& log);
    ~Server();
    // Serves until SIGTERM or SIGINT (which the caller has blocked) is received.
    void run(int signalFd);

private:
    struct Client {
        FileDescriptor socket;
        std::thread thread;
        std::atomic<bool> finished{false};
    };
    void reapFinished();
    void stopAll();

    ServerConfig config_;
    Logger& log_;
    FileDescriptor listener_;
    std::list<std::unique_ptr<Client>> clients_;
    uint16_t nextSessionId_ = 51;  // SQL Server numbers user sessions from 51
};

}  // namespace standin
