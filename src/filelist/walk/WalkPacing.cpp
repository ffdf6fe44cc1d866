#include "WalkPacing.h"

namespace velmora {

WalkPacing::WalkPacing(std::function<void()> yield, std::chrono::milliseconds interval,
                       std::stop_token stop)
    : yield_(std::move(yield)), intervalMilliseconds_(interval.count()), stop_(std::move(stop)) {
    sinceLastYield_.start();
}

void WalkPacing::maybeYield() {
    if (!yield_ || sinceLastYield_.elapsed() < intervalMilliseconds_)
        return;
    yield_();
    sinceLastYield_.restart();
}

} // namespace velmora
