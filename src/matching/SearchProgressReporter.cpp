#include "SearchProgressReporter.h"

namespace velmora {

namespace {
constexpr std::chrono::milliseconds reportInterval(250);
}

SearchProgressReporter::SearchProgressReporter(const SearchHooks& hooks)
    : hooks_(hooks), lastReport_(std::chrono::steady_clock::now()) {}

void SearchProgressReporter::report(SearchProgress::Stage stage, int position, int count) {
    if (!hooks_.progress)
        return;
    // Half a hundredth of the list is news whatever the time: where positions move in
    // smaller steps than that, the bar does not jump by more than a hundredth.
    const bool movedFar =
        stage != lastStage_ || static_cast<long long>(position - lastPosition_) * 200 >= count;
    if (!movedFar && std::chrono::steady_clock::now() - lastReport_ < reportInterval)
        return;
    reportNow(stage, position, count);
}

void SearchProgressReporter::reportNow(SearchProgress::Stage stage, int position, int count) {
    if (!hooks_.progress)
        return;
    hooks_.progress(SearchProgress{stage, position, count});
    lastStage_ = stage;
    lastPosition_ = position;
    lastReport_ = std::chrono::steady_clock::now();
}

} // namespace velmora
