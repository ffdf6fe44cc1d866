#pragma once

#include <QElapsedTimer>

#include <chrono>
#include <functional>

namespace velmora {

// Hands control to the window now and then while a walk runs. Asking is cheap, so the
// walk asks often (per folder, every few hundred names); the window only gets a turn
// once the interval has passed, so a walk of many small folders is not slowed by a
// round of event handling for each one.
class WalkPacing {
public:
    WalkPacing(std::function<void()> yield, std::chrono::milliseconds interval);

    void maybeYield();

private:
    std::function<void()> yield_;
    qint64 intervalMilliseconds_;
    QElapsedTimer sinceLastYield_;
};

} // namespace velmora
