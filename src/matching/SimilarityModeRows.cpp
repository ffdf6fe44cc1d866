#include "SimilarityModeRows.h"

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
            if (subsequence.lengthWith(otherCodes) < needed)
                continue;
            if ((thisFirst && matchingCharactersReach(codes, otherCodes, needed)) ||
                (otherFirst && matchingCharactersReach(otherCodes, codes, needed)))
                return true;
        }
    }
    return false;
}

// Whether the name stands under more than one distinct path: equal names under other
// paths always match.
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

// A row ticked against its own path is the last of a path listed more than once; whether
// that path matched any other path the final rows cannot tell, so the names decide.
void untickPathsMatchingOnlyThemselves(std::vector<ResultRow>& rows, const QStringList& paths,
                                       const NameTable& table, const KeyGroups& nameGroups,
                                       const KeyGroups& pathGroups, int threads,
                                       SearchProgressReporter& reporter) {
    QHash<QStringView, int> candidateOfPath;
    std::vector<size_t> candidateRows;
    for (size_t at = 0; at < rows.size(); ++at) {
        if (rows[at].checked && rows[at].partner == rows[at].path) {
            candidateOfPath.insert(rows[at].path, static_cast<int>(candidateRows.size()));
            candidateRows.push_back(at);
        }
    }
    if (candidateRows.empty())
        return;

    std::vector<int> namesOfCaseGroup;
    for (const int caseGroup : table.caseGroupOf) {
        const auto group = static_cast<size_t>(caseGroup);
        if (group >= namesOfCaseGroup.size())
            namesOfCaseGroup.resize(group + 1, 0);
        ++namesOfCaseGroup[group];
    }
    std::vector<int> nameOfCandidate(candidateRows.size(), -1);
    for (qsizetype position = 0; position < paths.size(); ++position) {
        const auto found = candidateOfPath.constFind(paths[position]);
        if (found != candidateOfPath.constEnd())
            nameOfCandidate[static_cast<size_t>(found.value())] =
                nameGroups.groupOf[static_cast<size_t>(position)];
    }
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
                if (heldBySeveralPaths(table, pathGroups, name) ||
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
