#include "SimilarityModeRows.h"

#include "EntryGroups.h"
#include "NameKeys.h"
#include "ParallelTasks.h"
#include "SimilarFilename.h"

#include <QHash>

#include <algorithm>
#include <cstdint>

namespace velmora {

namespace {

constexpr int rowsPerTask = 256;

// A row's pair of names, earlier entry's first; the two rows of one pair share it, and so
// do the many pairs of one name repeated across folders.
struct NamePair {
    QStringView earlier;
    QStringView later;
    friend bool operator==(const NamePair&, const NamePair&) = default;
};

size_t qHash(const NamePair& pair, size_t seed = 0) {
    return qHashMulti(seed, pair.earlier, pair.later);
}

// Whether a name held by one path alone matched another name in some pair: an earlier
// entry's name alike to it, or it alike to a later entry's name. The bounds are the same
// either way round, so one pass over the names in reach tries both orders.
bool alikeToAnotherName(const NameTable& table, const std::vector<int>& namesOfCaseGroup, int name,
                        LongestCommonSubsequence& subsequence) {
    if (namesOfCaseGroup[static_cast<size_t>(table.caseGroupOf[static_cast<size_t>(name)])] > 1)
        return true; // equal apart from case: alike in either order
    const std::u16string_view codes = table.codesOf(name);
    const int length = static_cast<int>(codes.size());
    const int ownFirst = table.positionsOfName.first(name);
    const int ownLast = table.positionsOfName.last(name);
    const BucketCounts ownCounts = countBuckets(codes);
    const NameList& names = table.all;
    bool patternSet = false;
    for (int otherLength = 0; otherLength <= table.longestName; ++otherLength) {
        const int needed = table.neededMatches[static_cast<size_t>(length + otherLength)];
        if (std::min(length, otherLength) < needed)
            continue;
        const bool counted = length <= longestCountedName && otherLength <= longestCountedName;
        const int begin = names.offsets[static_cast<size_t>(otherLength)];
        const int end = names.offsets[static_cast<size_t>(otherLength) + 1];
        for (int entry = begin; entry < end; ++entry) {
            const auto index = static_cast<size_t>(entry);
            const int other = names.name[index];
            // This name first needs the other after its first entry; the other first needs
            // it before this name's last entry.
            const bool thisFirst = names.lastPosition[index] > ownFirst;
            const bool otherFirst = table.positionsOfName.first(other) < ownLast;
            if ((!thisFirst && !otherFirst) ||
                (counted && sharedCount(ownCounts, names.counts[index]) < needed))
                continue;
            if (other == name)
                continue;
            if (!patternSet) {
                subsequence.setPattern(codes);
                patternSet = true;
            }
            const std::u16string_view otherCodes = table.codesOf(other);
            if (!subsequence.reaches(otherCodes, needed))
                continue;
            if ((thisFirst && matchingCharactersReach(codes, otherCodes, needed)) ||
                (otherFirst && matchingCharactersReach(otherCodes, codes, needed)))
                return true;
        }
    }
    return false;
}

// Whether the name stands under more than one group of paths (distinct texts, or entries):
// equal names under other paths always match.
bool heldBySeveralPaths(const NameTable& table, const KeyGroups& pathGroups, int name) {
    const PositionLists& positions = table.positionsOfName;
    const int begin = positions.offsets[static_cast<size_t>(name)];
    const int end = positions.offsets[static_cast<size_t>(name) + 1];
    const int firstPath =
        pathGroups.groupOf[static_cast<size_t>(positions.positions[static_cast<size_t>(begin)])];
    for (int at = begin + 1; at < end; ++at)
        if (pathGroups.groupOf[static_cast<size_t>(positions.positions[static_cast<size_t>(at)])] !=
            firstPath)
            return true;
    return false;
}

} // namespace

void fillSimilarityRatios(std::vector<ResultRow>& rows, PathStyle style, int threads,
                          SearchProgressReporter& reporter) {
    const int rowCount = static_cast<int>(rows.size());
    std::vector<QHash<NamePair, double>> knownOfWorker(
        static_cast<size_t>(workerCountFor(threads)));
    runTasksInParallel(
        (rowCount + rowsPerTask - 1) / rowsPerTask, threads,
        [&](int task, int worker) {
            QHash<NamePair, double>& known = knownOfWorker[static_cast<size_t>(worker)];
            const int last = std::min((task + 1) * rowsPerTask, rowCount);
            for (int at = task * rowsPerTask; at < last; ++at) {
                ResultRow& row = rows[static_cast<size_t>(at)];
                // A ticked row is the later entry of its pair.
                const NamePair names{fileNameView(row.checked ? row.partner : row.path, style),
                                     fileNameView(row.checked ? row.path : row.partner, style)};
                if (names.earlier == names.later) {
                    row.ratio = 1;
                    continue;
                }
                auto found = known.constFind(names);
                if (found == known.constEnd())
                    found = known.insert(
                        names, SimilarityRatio(
                                   QString::fromRawData(names.earlier.data(), names.earlier.size()),
                                   QString::fromRawData(names.later.data(), names.later.size())));
                row.ratio = found.value();
            }
        },
        [&](int) { return !reporter.stopRequested(); });
}

// A ticked row whose partner has its file name may have been matched by paths of its own
// entry alone (the same path listed twice, or reached through two folders that are one
// folder on disk); whether it matched any other entry the final rows cannot tell, so the
// names decide.
void untickPathsMatchingOnlyThemselves(std::vector<ResultRow>& rows,
                                       const std::vector<FinalRow>& positions,
                                       const QStringList& paths, PathStyle style,
                                       const NameTable& table, const KeyGroups& nameGroups,
                                       const KeyGroups& pathGroups, const SearchHooks& hooks,
                                       SearchProgressReporter& reporter) {
    SameNameRows candidates = tickedRowsWithSameNamePartners(positions, paths, style);
    if (candidates.rows.empty())
        return;
    std::vector<size_t>& candidateRows = candidates.rows;
    const SameNamePairs& pairs = candidates.pairs;
    const KeyGroups entryGroups = groupEntriesOfPairs(
        paths, pathGroups, pairs,
        [&](const std::vector<int>& ofNames) {
            std::vector<char> taken(static_cast<size_t>(table.nameCount()), 0);
            std::vector<int> holders;
            const PositionLists& positions = table.positionsOfName;
            for (const int position : ofNames) {
                const int name = nameGroups.groupOf[static_cast<size_t>(position)];
                if (taken[static_cast<size_t>(name)] != 0 ||
                    !heldBySeveralPaths(table, pathGroups, name))
                    continue;
                taken[static_cast<size_t>(name)] = 1;
                holders.insert(
                    holders.end(),
                    positions.positions.begin() + positions.offsets[static_cast<size_t>(name)],
                    positions.positions.begin() + positions.offsets[static_cast<size_t>(name) + 1]);
            }
            return holders;
        },
        hooks);
    // A partner of another entry made the row a duplicate of something.
    std::vector<int> nameOfCandidate;
    size_t kept = 0;
    for (size_t candidate = 0; candidate < candidateRows.size(); ++candidate) {
        const auto [row, partner] = pairs[candidate];
        if (entryGroups.groupOf[static_cast<size_t>(row)] !=
            entryGroups.groupOf[static_cast<size_t>(partner)])
            continue;
        candidateRows[kept++] = candidateRows[candidate];
        nameOfCandidate.push_back(nameGroups.groupOf[static_cast<size_t>(row)]);
    }
    candidateRows.resize(kept);

    std::vector<int> namesOfCaseGroup;
    for (const int caseGroup : table.caseGroupOf) {
        const auto group = static_cast<size_t>(caseGroup);
        if (group >= namesOfCaseGroup.size())
            namesOfCaseGroup.resize(group + 1, 0);
        ++namesOfCaseGroup[group];
    }
    const int threads = hooks.threads;
    const int candidateCount = static_cast<int>(candidateRows.size());
    constexpr int candidatesPerTask = 8;
    std::vector<LongestCommonSubsequence> subsequences(
        static_cast<size_t>(workerCountFor(threads)));
    runTasksInParallel(
        (candidateCount + candidatesPerTask - 1) / candidatesPerTask, threads,
        [&](int task, int worker) {
            const int last = std::min((task + 1) * candidatesPerTask, candidateCount);
            for (int candidate = task * candidatesPerTask; candidate < last; ++candidate) {
                const int name = nameOfCandidate[static_cast<size_t>(candidate)];
                if (heldBySeveralPaths(table, entryGroups, name) ||
                    alikeToAnotherName(table, namesOfCaseGroup, name,
                                       subsequences[static_cast<size_t>(worker)]))
                    continue;
                rows[candidateRows[static_cast<size_t>(candidate)]].checked = false;
            }
        },
        [&](int tasksDone) {
            // Deciding these ticks is the clean-up's work, and with a folder listed twice
            // it can take a while: the bar shows how far it got.
            reporter.report(SearchProgress::Stage::CleanUp,
                            std::min(tasksDone * candidatesPerTask, candidateCount),
                            candidateCount);
            return !reporter.stopRequested();
        });
}

} // namespace velmora
