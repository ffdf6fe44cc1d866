#pragma once

#include "DuplicateSearch.h"

#include <chrono>

namespace velmora {

// Passes progress on to the caller's hook no more than a few times per second, so a
// window can repaint without the engine spending its time in the hook; and answers
// whether the caller asked the run to stop. Use only on the thread that started the run.
class SearchProgressReporter {
public:
    explicit SearchProgressReporter(const SearchHooks& hooks);

    // Reports when enough time has passed since the last report, or the position has moved
    // on by half a hundredth of the count.
    void report(SearchProgress::Stage stage, int position, int count);
    // Reports whatever the time: the first and the last word of a stage.
    void reportNow(SearchProgress::Stage stage, int position, int count);
    bool stopRequested() const { return hooks_.stop.stop_requested(); }

private:
    const SearchHooks& hooks_;
    std::chrono::steady_clock::time_point lastReport_;
    SearchProgress::Stage lastStage_ = SearchProgress::Stage::Pairs;
    int lastPosition_ = 0;
};

} // namespace velmora
