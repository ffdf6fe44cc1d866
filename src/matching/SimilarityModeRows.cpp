#include "SimilarityModeRows.h"

#include "CharacterBuckets.h"
#include "KeyGroups.h"
#include "LongestCommonSubsequence.h"
#include "NameKeys.h"
#include "ParallelTasks.h"
#include "SimilarFilename.h"
#include "SimilarityThreshold.h"

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

void fillRatios(std::vector<ResultRow>& rows, PathStyle style, int threads,
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

// The distinct names of the list, with where each first and last stands; what a scan
// reads is also kept in length order, side by side.
struct ListNames {
    KeyGroups groups; // per position
    std::vector<int> first;
    std::vector<int> last;
    std::vector<bool> severalPaths;
    std::vector<int> namesOfCaseGroup; // how many distinct names are equal apart from case
    std::vector<int> caseGroupOf;
    std::vector<std::u16string> codes;
    std::vector<int> lengthOffsets; // names of length l: entries lengthOffsets[l] ..
    std::vector<int> entryName;
    std::vector<int> entryFirst;
    std::vector<int> entryLast;
    std::vector<BucketCounts> entryCounts;
    int longest = 0;

    ListNames(const QStringList& paths, PathStyle style) {
        std::vector<QStringView> names;
        names.reserve(static_cast<size_t>(paths.size()));
        for (const QString& path : paths)
            names.push_back(fileNameView(path, style));
        groups = groupEqualTexts(names);
        const auto count = static_cast<size_t>(groups.groupCount);
        first.assign(count, -1);
        last.assign(count, -1);
        severalPaths.assign(count, false);
        for (size_t position = 0; position < names.size(); ++position) {
            const auto name = static_cast<size_t>(groups.groupOf[position]);
            if (first[name] < 0)
                first[name] = static_cast<int>(position);
            else if (paths[static_cast<qsizetype>(position)] != paths[first[name]])
                severalPaths[name] = true;
            last[name] = static_cast<int>(position);
        }
        std::vector<QString> upperNames(count);
        codes.resize(count);
        for (size_t name = 0; name < count; ++name) {
            const QStringView text = names[static_cast<size_t>(first[name])];
            upperNames[name] = text.toString().toUpper();
            codes[name] = similarityCodes(text);
            longest = std::max(longest, static_cast<int>(text.size()));
        }
        const KeyGroups caseGroups =
            groupEqualTexts(std::vector<QStringView>(upperNames.begin(), upperNames.end()));
        caseGroupOf = caseGroups.groupOf;
        namesOfCaseGroup.assign(static_cast<size_t>(caseGroups.groupCount), 0);
        for (const int caseGroup : caseGroupOf)
            ++namesOfCaseGroup[static_cast<size_t>(caseGroup)];
        lengthOffsets.assign(static_cast<size_t>(longest) + 2, 0);
        for (size_t name = 0; name < count; ++name)
            ++lengthOffsets[codes[name].size() + 1];
        for (size_t length = 0; length + 1 < lengthOffsets.size(); ++length)
            lengthOffsets[length + 1] += lengthOffsets[length];
        entryName.resize(count);
        std::vector<int> fill(lengthOffsets.begin(), lengthOffsets.end() - 1);
        for (size_t name = 0; name < count; ++name)
            entryName[static_cast<size_t>(fill[codes[name].size()]++)] = static_cast<int>(name);
        for (const int name : entryName) {
            entryFirst.push_back(first[static_cast<size_t>(name)]);
            entryLast.push_back(last[static_cast<size_t>(name)]);
            entryCounts.push_back(countBuckets(codes[static_cast<size_t>(name)]));
        }
    }
};

// Whether a name held by one path alone matched another name in some pair: an earlier
// entry's name alike to it, or it alike to a later entry's name. The bounds are the same
// either way round, so one pass over the names in reach tries both orders.
bool alikeToAnotherName(const ListNames& names, int name, LongestCommonSubsequence& subsequence) {
    const auto at = static_cast<size_t>(name);
    if (names.namesOfCaseGroup[static_cast<size_t>(names.caseGroupOf[at])] > 1)
        return true; // equal apart from case: alike in either order
    const std::u16string_view codes = names.codes[at];
    const int length = static_cast<int>(codes.size());
    const int ownFirst = names.first[at];
    const int ownLast = names.last[at];
    const BucketCounts ownCounts = countBuckets(codes);
    bool patternSet = false;
    for (int otherLength = 0; otherLength <= names.longest; ++otherLength) {
        const int needed = minimumMatchedCharacters(length + otherLength);
        if (std::min(length, otherLength) < needed)
            continue;
        const bool counted = length <= longestCountedName && otherLength <= longestCountedName;
        const int begin = names.lengthOffsets[static_cast<size_t>(otherLength)];
        const int end = names.lengthOffsets[static_cast<size_t>(otherLength) + 1];
        for (int entry = begin; entry < end; ++entry) {
            const auto index = static_cast<size_t>(entry);
            // This name first needs the other after its first entry; the other first needs
            // it before this name's last entry.
            const bool thisFirst = names.entryLast[index] > ownFirst;
            const bool otherFirst = names.entryFirst[index] < ownLast;
            if ((!thisFirst && !otherFirst) ||
                (counted && sharedCount(ownCounts, names.entryCounts[index]) < needed))
                continue;
            const auto other = static_cast<size_t>(names.entryName[index]);
            if (other == at)
                continue;
            if (!patternSet) {
                subsequence.setPattern(codes);
                patternSet = true;
            }
            const std::u16string_view otherCodes = names.codes[other];
            if (subsequence.lengthWith(otherCodes) < needed)
                continue;
            if ((thisFirst && matchingCharactersReach(codes, otherCodes, needed)) ||
                (otherFirst && matchingCharactersReach(otherCodes, codes, needed)))
                return true;
        }
    }
    return false;
}

// A row ticked against its own path is the last of a path listed more than once; whether
// that path matched any other path the final rows cannot tell, so the names decide.
void untickPathsMatchingOnlyThemselves(std::vector<ResultRow>& rows, const QStringList& paths,
                                       PathStyle style, int threads,
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

    const ListNames names(paths, style);
    std::vector<int> nameOfCandidate(candidateRows.size(), -1);
    for (qsizetype position = 0; position < paths.size(); ++position) {
        const auto found = candidateOfPath.constFind(paths[position]);
        if (found != candidateOfPath.constEnd())
            nameOfCandidate[static_cast<size_t>(found.value())] =
                names.groups.groupOf[static_cast<size_t>(position)];
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
                // Equal names under other paths always match.
                if (names.severalPaths[static_cast<size_t>(name)] ||
                    alikeToAnotherName(names, name, subsequences[static_cast<size_t>(worker)]))
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

} // namespace

void completeSimilarityRows(std::vector<ResultRow>& rows, const QStringList& paths, PathStyle style,
                            int threads, SearchProgressReporter& reporter) {
    fillRatios(rows, style, threads, reporter);
    untickPathsMatchingOnlyThemselves(rows, paths, style, threads, reporter);
}

} // namespace velmora
