#include "OptionModeSearch.h"

#include "EntryGroups.h"
#include "FinalRows.h"
#include "KeyGroups.h"
#include "NameKeys.h"
#include "ParallelTasks.h"

#include <QHash>

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

MatchStage matchStageOf(KeyStage stage) {
    switch (stage) {
    case KeyStage::Extension:
        return MatchStage::Extension;
    case KeyStage::Before:
        return MatchStage::Before;
    case KeyStage::After:
        return MatchStage::After;
    }
    return MatchStage::None;
}

// Whether each group of a grouping holds more than one entry.
std::vector<bool> groupsHoldingOtherEntries(const KeyGroups& groups, const KeyGroups& entryGroups) {
    std::vector<int> entrySeen(static_cast<size_t>(groups.groupCount), -1);
    std::vector<bool> mixed(static_cast<size_t>(groups.groupCount), false);
    for (size_t position = 0; position < groups.groupOf.size(); ++position) {
        const auto group = static_cast<size_t>(groups.groupOf[position]);
        const int entry = entryGroups.groupOf[position];
        if (entrySeen[group] < 0)
            entrySeen[group] = entry;
        else if (entrySeen[group] != entry)
            mixed[group] = true;
    }
    return mixed;
}

// The positions holding the file names at `positions`, where more than one text holds
// such a name. Equal names have equal keys at every stage, so only the first stage's
// groups of those positions need be read.
std::vector<int> holdersOfSharedNames(const QStringList& paths, const std::vector<int>& positions,
                                      const std::vector<KeyGroups>& groupsOfStage,
                                      PathStyle style) {
    // Without a key stage only equal paths match: no row matched another text.
    if (groupsOfStage.size() < 2)
        return {};
    const KeyGroups& pathGroups = groupsOfStage.front();
    const KeyGroups& firstStage = groupsOfStage[1];
    constexpr int severalTexts = -1;
    QHash<QStringView, int> textOfName;
    std::vector<char> nearName(static_cast<size_t>(firstStage.groupCount), 0);
    for (const int position : positions) {
        nearName[static_cast<size_t>(firstStage.groupOf[static_cast<size_t>(position)])] = 1;
        textOfName.insert(fileNameView(paths[position], style),
                          pathGroups.groupOf[static_cast<size_t>(position)]);
    }
    std::vector<int> holders;
    for (qsizetype position = 0; position < paths.size(); ++position) {
        const auto index = static_cast<size_t>(position);
        if (nearName[static_cast<size_t>(firstStage.groupOf[index])] == 0)
            continue;
        const auto found = textOfName.find(fileNameView(paths[position], style));
        if (found == textOfName.end())
            continue;
        holders.push_back(static_cast<int>(position));
        if (found.value() != pathGroups.groupOf[index])
            found.value() = severalTexts;
    }
    std::erase_if(holders, [&](int position) {
        return textOfName.value(fileNameView(paths[position], style)) != severalTexts;
    });
    return holders;
}

// A ticked row whose partner has its file name may have been matched by a path of its own
// entry alone: the same path listed twice, or reached through two folders that are one
// folder on disk. When no stage matched it with another entry, it is no duplicate of
// anything.
void untickRowsMatchingOnlyThemselves(std::vector<ResultRow>& rows,
                                      const std::vector<FinalRow>& positions,
                                      const std::vector<KeyGroups>& groupsOfStage,
                                      const QStringList& paths, PathStyle style,
                                      const SearchHooks& hooks) {
    const SameNameRows candidates = tickedRowsWithSameNamePartners(positions, paths, style);
    if (candidates.rows.empty())
        return;
    const KeyGroups entryGroups = groupEntriesOfPairs(
        paths, groupsOfStage.front(), candidates.pairs,
        [&](const std::vector<int>& ofNames) {
            return holdersOfSharedNames(paths, ofNames, groupsOfStage, style);
        },
        hooks);
    std::vector<std::vector<bool>> mixedOfStage;
    for (const size_t at : candidates.rows) {
        const FinalRow& row = positions[at];
        if (entryGroups.groupOf[static_cast<size_t>(row.partner)] !=
            entryGroups.groupOf[static_cast<size_t>(row.position)])
            continue;
        if (mixedOfStage.empty())
            for (size_t stage = 1; stage < groupsOfStage.size(); ++stage)
                mixedOfStage.push_back(
                    groupsHoldingOtherEntries(groupsOfStage[stage], entryGroups));
        bool matchedAnotherEntry = false;
        for (size_t stage = 1; stage < groupsOfStage.size() && !matchedAnotherEntry; ++stage)
            matchedAnotherEntry = mixedOfStage[stage - 1][static_cast<size_t>(
                groupsOfStage[stage].groupOf[static_cast<size_t>(row.position)])];
        rows[at].checked = matchedAnotherEntry;
    }
}

} // namespace

std::vector<ResultRow> findDuplicatesByOptions(const QStringList& paths,
                                               const SearchOptions& options, PathStyle style,
                                               const SearchHooks& hooks,
                                               SearchProgressReporter& reporter) {
    const int threads = hooks.threads;
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
    const int halfPercent = std::max(1, count / 200);
    const long long textsToGroup = std::max(1LL, static_cast<long long>(count) * groupingCount);
    std::atomic<long long> textsGrouped{0};
    std::atomic<bool> stopping{false};
    // The calling thread may be held up (a new grouping sets up its table) while another
    // worker groups on; the position shown then catches up half a percent at a time
    // rather than jumping.
    int shown = 0;
    auto show = [&](long long grouped) {
        shown = std::min(static_cast<int>(count * grouped / textsToGroup), shown + halfPercent);
        reporter.report(SearchProgress::Stage::Pairs, shown, count);
    };
    const bool finished = runTasksInParallel(
        groupingCount, threads,
        [&](int stage, int worker) {
            groupsOfStage[static_cast<size_t>(stage)] = groupEqualTexts(
                keysOfStage[static_cast<size_t>(stage)], static_cast<size_t>(halfPercent),
                [&](size_t moreGrouped) {
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
    const std::vector<FinalRow> positions = facts.finalRowPositions(groupsOfStage.front());
    std::vector<MatchStage> matchStageOfGrouping{MatchStage::Path};
    for (const KeyStage stage : stages)
        matchStageOfGrouping.push_back(matchStageOf(stage));
    std::vector<ResultRow> rows;
    rows.reserve(positions.size());
    for (const FinalRow& row : positions) {
        // The first grouping that holds both is the first stage whose keys were equal.
        MatchStage stage = MatchStage::None;
        for (size_t grouping = 0; grouping < groupsOfStage.size(); ++grouping) {
            const std::vector<int>& groupOf = groupsOfStage[grouping].groupOf;
            if (groupOf[static_cast<size_t>(row.position)] ==
                groupOf[static_cast<size_t>(row.partner)]) {
                stage = matchStageOfGrouping[grouping];
                break;
            }
        }
        rows.push_back({paths[row.position], row.ticked, paths[row.partner], -1, stage});
    }
    untickRowsMatchingOnlyThemselves(rows, positions, groupsOfStage, paths, style, hooks);
    return rows;
}

} // namespace velmora
