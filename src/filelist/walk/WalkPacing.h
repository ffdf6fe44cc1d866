#pragma once

#include <QElapsedTimer>

#include <chrono>
#include <functional>
#include <stop_token>

namespace velmora {

// Hands control to the window now and then while a walk runs. Asking is cheap, so the
// walk asks often (per folder, every few hundred names); the window only gets a turn
// once the interval has passed, so a walk of many small folders is not slowed by a
// round of event handling for each one.
class WalkPacing {
public:
    WalkPacing(std::function<void()> yield, std::chrono::milliseconds interval,
               std::stop_token stop = {});

    void maybeYield();
    // Whether the walk should end now; a turn of the window is often what asks for it.
    bool stopRequested() const { return stop_.stop_requested(); }

private:
    std::function<void()> yield_;
    qint64 intervalMilliseconds_;
    QElapsedTimer sinceLastYield_;
    std::stop_token stop_;
};

} // namespace velmora
