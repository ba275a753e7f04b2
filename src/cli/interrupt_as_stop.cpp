#include "cli/interrupt_as_stop.h"

#include <csignal>

namespace dorvane::cli {
namespace {

// A signal handler can only leave a flag behind.
volatile std::sig_atomic_t interrupted = 0;

void noteInterrupt(int) {
    interrupted = 1;
}

}  // namespace

InterruptAsStop::InterruptAsStop() {
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;  // the second Ctrl-C is the default's
    sigaction(SIGINT, &action, nullptr);
}

InterruptAsStop::~InterruptAsStop() {
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptAsStop::takeRequest() {
    if (interrupted == 0) return false;
    interrupted = 0;
    return true;
}

}  // namespace dorvane::cli
