#include "WalkPacing.h"

namespace velmora {

WalkPacing::WalkPacing(std::function<void()> yield, std::chrono::milliseconds interval)
    : yield_(std::move(yield)), intervalMilliseconds_(interval.count()) {
    sinceLastYield_.start();
}

void WalkPacing::maybeYield() {
    if (!yield_ || sinceLastYield_.elapsed() < intervalMilliseconds_)
        return;
    yield_();
    sinceLastYield_.restart();
}

} // namespace velmora
