#include "OptionModeSearch.h"

#include "FinalRows.h"
#include "KeyGroups.h"
#include "NameKeys.h"
#include "ParallelTasks.h"

#include <algorithm>
#include <atomic>

namespace velmora {

namespace {

// Within one group every member matches every other, so the latest later match of a
// position is the group's last member, and its latest earlier match the member before it.
void noteMatchesWithinGroups(const KeyGroups& groups, PairFacts& facts) {
    std::vector<int> lastSeen(static_cast<size_t>(groups.groupCount), -1);
    for (size_t position = 0; position < groups.groupOf.size(); ++position) {
        int& seen = lastSeen[static_cast<size_t>(groups.groupOf[position])];
        if (seen >= 0)
            facts.noteEarlierMatch(static_cast<int>(position), seen);
        seen = static_cast<int>(position);
    }
    for (size_t position = 0; position < groups.groupOf.size(); ++position) {
        const int last = lastSeen[static_cast<size_t>(groups.groupOf[position])];
        if (last > static_cast<int>(position))
            facts.noteLaterMatch(static_cast<int>(position), last);
    }
}

} // namespace

std::vector<ResultRow> findDuplicatesByOptions(const QStringList& paths,
                                               const SearchOptions& options, PathStyle style,
                                               int threads, SearchProgressReporter& reporter) {
    const int count = static_cast<int>(paths.size());
    const std::vector<KeyStage> stages = enabledKeyStages(options);

    // The keys of every stage first (each a piece of its path, so this is cheap); the
    // grouping, which is the costly part, then runs one stage per thread.
    std::vector<std::vector<QStringView>> keysOfStage;
    keysOfStage.emplace_back(paths.begin(), paths.end());
    std::vector<QStringView> keys(paths.begin(), paths.end());
    for (QStringView& key : keys)
        key = fileNameView(key, style);
    for (const KeyStage stage : stages) {
        for (QStringView& key : keys)
            key = applyKeyStage(stage, key, options);
        keysOfStage.push_back(keys);
    }
    const int groupingCount = static_cast<int>(keysOfStage.size());
    std::vector<KeyGroups> groupsOfStage(static_cast<size_t>(groupingCount));
    // Each grouping says how far it has got every half percent of the list, so that the
    // progress moves in small steps even when there are only a few groupings to share out.
    const size_t step = std::max<size_t>(1, static_cast<size_t>(count) / 200);
    const long long textsToGroup = std::max(1LL, static_cast<long long>(count) * groupingCount);
    std::atomic<long long> textsGrouped{0};
    std::atomic<bool> stopping{false};
    // The calling thread may be held up (a new grouping sets up its table) while another
    // worker groups on; the position shown then catches up half a percent at a time
    // rather than jumping.
    const int shownStep = std::max(1, count / 200);
    int shown = 0;
    auto show = [&](long long grouped) {
        shown = std::min(static_cast<int>(count * grouped / textsToGroup), shown + shownStep);
        reporter.report(SearchProgress::Stage::Pairs, shown, count);
    };
    const bool finished = runTasksInParallel(
        groupingCount, threads,
        [&](int stage, int worker) {
            groupsOfStage[static_cast<size_t>(stage)] = groupEqualTexts(
                keysOfStage[static_cast<size_t>(stage)], step, [&](size_t moreGrouped) {
                    const long long grouped =
                        textsGrouped.fetch_add(static_cast<long long>(moreGrouped)) +
                        static_cast<long long>(moreGrouped);
                    // Only the calling thread may report or ask whether to stop.
                    if (worker == 0) {
                        show(grouped);
                        if (reporter.stopRequested())
                            stopping = true;
                    }
                    return !stopping.load(std::memory_order_relaxed);
                });
        },
        [&](int) {
            show(textsGrouped.load());
            return !stopping.load() && !reporter.stopRequested();
        });
    if (!finished || reporter.stopRequested())
        return {};

    PairFacts facts(count);
    for (const KeyGroups& groups : groupsOfStage)
        noteMatchesWithinGroups(groups, facts);
    // The first grouping is by whole path: the distinct paths of the final rows.
    return facts.finalRows(paths, groupsOfStage.front());
}

} // namespace velmora
