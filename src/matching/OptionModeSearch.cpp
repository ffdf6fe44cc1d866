#include "OptionModeSearch.h"

#include "FinalRows.h"
#include "KeyGroups.h"
#include "NameKeys.h"

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
                                               SearchProgressReporter& reporter) {
    const int count = static_cast<int>(paths.size());
    const std::vector<KeyStage> stages = enabledKeyStages(options);
    const int stageCount = static_cast<int>(stages.size()) + 1;
    // Progress moves on a whole share of the list with each stage done.
    auto reportStagesDone = [&](int done) {
        const int position = static_cast<int>(static_cast<long long>(count) * done / stageCount);
        reporter.report(SearchProgress::Stage::Pairs, position, count);
    };

    std::vector<QStringView> keys(paths.begin(), paths.end());
    const KeyGroups pathGroups = groupEqualTexts(keys);
    PairFacts facts(count);
    noteMatchesWithinGroups(pathGroups, facts);
    reportStagesDone(1);

    for (QStringView& key : keys)
        key = fileNameView(key, style);
    for (size_t stage = 0; stage < stages.size(); ++stage) {
        if (reporter.stopRequested())
            return {};
        for (QStringView& key : keys)
            key = applyKeyStage(stages[stage], key, options);
        noteMatchesWithinGroups(groupEqualTexts(keys), facts);
        reportStagesDone(static_cast<int>(stage) + 2);
    }
    if (reporter.stopRequested())
        return {};
    return facts.finalRows(paths, pathGroups);
}

} // namespace velmora
