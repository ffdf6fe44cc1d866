#pragma once

#include <stop_token>

namespace velmora {

// Turns Ctrl-C (SIGINT) into a stop request, so a run ends at its next check and the
// program can clear its progress line and exit with 130. A run that does not get there
// soon, because it waits for input that never comes, is ended outright the same way.
// Create it before any other thread starts: the signal is then taken by its own thread
// alone.
class Interruption {
public:
    explicit Interruption(bool clearTerminalLine);
    std::stop_token stopToken() const;
};

} // namespace velmora
