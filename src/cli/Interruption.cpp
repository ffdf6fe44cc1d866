#include "Interruption.h"

#include <chrono>
#include <csignal>
#include <thread>

#include <unistd.h>

namespace velmora {

namespace {

using namespace std::chrono_literals;

// How long a run may take to notice the stop before the process ends without it.
constexpr auto kGrace = 500ms;

std::stop_source& stopSource() {
    static std::stop_source source;
    return source;
}

} // namespace

Interruption::Interruption(bool clearTerminalLine) {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
    // Left running: the process's end ends it.
    std::thread([interrupt, clearTerminalLine] {
        int signal = 0;
        while (sigwait(&interrupt, &signal) != 0 || signal != SIGINT) {
        }
        stopSource().request_stop();
        std::this_thread::sleep_for(kGrace);
        if (clearTerminalLine)
            (void)!write(STDERR_FILENO, "\r\x1b[K", 4);
        _exit(130);
    }).detach();
}

std::stop_token Interruption::stopToken() const {
    return stopSource().get_token();
}

} // namespace velmora
