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
    if (std::chrono::steady_clock::now() - lastReport_ < reportInterval)
        return;
    reportNow(stage, position, count);
}

void SearchProgressReporter::reportNow(SearchProgress::Stage stage, int position, int count) {
    if (!hooks_.progress)
        return;
    hooks_.progress(SearchProgress{stage, position, count});
    lastReport_ = std::chrono::steady_clock::now();
}

} // namespace velmora
