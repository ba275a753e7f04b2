// A small SQL Server stand-in for tests and demos: speaks TDS 7.4 to the FreeTDS driver
// and keeps its data in PostgreSQL.
#include "logger.hpp"
#include "server.hpp"
#include "server_config.hpp"
#include "socket.hpp"

#include <csignal>
#include <iostream>
#include <sys/signalfd.h>

int main(int argc, char** argv) {
    using namespace standin;
    Logger log(std::cerr);
    try {
        ServerConfig config = parseCommandLine(argc, argv);
        // Stop signals are read from a descriptor; every thread inherits the block.
        sigset_t stopSignals;
        sigemptyset(&stopSignals);
        sigaddset(&stopSignals, SIGTERM);
        sigaddset(&stopSignals, SIGINT);
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
        std::signal(SIGPIPE, SIG_IGN);
        FileDescriptor signals(::signalfd(-1, &stopSignals, SFD_CLOEXEC));
        if (!signals) throw std::runtime_error("signalfd failed");

        Server server(config, log);
        server.run(signals.get());
    } catch (const std::invalid_argument& e) {
        log.line(e.what());
        return 2;
    } catch (const std::exception& e) {
        log.line(std::string("dorvane-tds-standin: ") + e.what());
        return 1;
    }
    log.line("stopped");
    return 0;
}
