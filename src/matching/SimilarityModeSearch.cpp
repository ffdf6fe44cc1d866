#include "SimilarityModeSearch.h"

#include "CharacterBuckets.h"
#include "FinalRows.h"
#include "KeyGroups.h"
#include "LongestCommonSubsequence.h"
#include "NameKeys.h"
#include "ParallelTasks.h"
#include "SimilarFilename.h"
#include "SimilarityThreshold.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string_view>

namespace velmora {

namespace {

// Positions grouped by a small number, kept in ascending order within each group.
struct PositionLists {
    std::vector<int> offsets; // group g holds positions[offsets[g] .. offsets[g + 1])
    std::vector<int> positions;

    static PositionLists build(const std::vector<int>& groupOfPosition, int groupCount) {
        PositionLists lists;
        lists.offsets.assign(static_cast<size_t>(groupCount) + 1, 0);
        for (const int group : groupOfPosition)
            ++lists.offsets[static_cast<size_t>(group) + 1];
        for (size_t group = 0; group < static_cast<size_t>(groupCount); ++group)
            lists.offsets[group + 1] += lists.offsets[group];
        lists.positions.resize(groupOfPosition.size());
        std::vector<int> fill(lists.offsets.begin(), lists.offsets.end() - 1);
        for (size_t position = 0; position < groupOfPosition.size(); ++position)
            lists.positions[static_cast<size_t>(
                fill[static_cast<size_t>(groupOfPosition[position])]++)] =
                static_cast<int>(position);
        return lists;
    }
    int last(int group) const { return positions[static_cast<size_t>(offsets[group + 1] - 1)]; }
    // The greatest position of the group below `limit`, or -1.
    int before(int group, int limit) const {
        const auto begin = positions.begin() + offsets[static_cast<size_t>(group)];
        const auto end = positions.begin() + offsets[static_cast<size_t>(group) + 1];
        const auto found = std::lower_bound(begin, end, limit);
        return found == begin ? -1 : *(found - 1);
    }
};

// Everything the scans read, built once and shared read-only by the workers.
struct NameTable {
    // Per distinct name (numbered in order of first appearance).
    std::vector<int> lengthOf;
    std::vector<int> caseGroupOf; // names equal apart from case (whole-string upper case)
    std::vector<int> codeOffsets;
    std::u16string codes;
    PositionLists positionsOfName;
    PositionLists positionsOfCaseGroup;

    // The names of each length, latest last position first, with what the scan reads of
    // each kept side by side.
    std::vector<int> listOffsets; // per length
    std::vector<int> listName;
    std::vector<int> listLastPosition;
    std::vector<BucketCounts> listCounts;
    // The short names of each length, eight to a block in list order.
    std::vector<int> firstBlockOfLength; // per length up to the longest that has blocks
    LongestCommonSubsequenceBlocks shortNames;

    std::vector<int> neededMatches; // per total length of two names
    int longestName = 0;

    int nameCount() const { return static_cast<int>(lengthOf.size()); }
    std::u16string_view codesOf(int name) const {
        return std::u16string_view(codes).substr(
            static_cast<size_t>(codeOffsets[static_cast<size_t>(name)]),
            static_cast<size_t>(lengthOf[static_cast<size_t>(name)]));
    }
};

NameTable buildNameTable(const QStringList& paths, PathStyle style, KeyGroups& nameGroups) {
    NameTable table;
    std::vector<QStringView> names;
    names.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths)
        names.push_back(fileNameView(path, style));
    nameGroups = groupEqualTexts(names);
    const int nameCount = nameGroups.groupCount;
    table.positionsOfName = PositionLists::build(nameGroups.groupOf, nameCount);

    std::vector<QString> upperNames(static_cast<size_t>(nameCount));
    table.lengthOf.resize(static_cast<size_t>(nameCount));
    table.codeOffsets.resize(static_cast<size_t>(nameCount));
    for (int name = 0; name < nameCount; ++name) {
        const QStringView text =
            names[static_cast<size_t>(table.positionsOfName.positions[static_cast<size_t>(
                table.positionsOfName.offsets[static_cast<size_t>(name)])])];
        table.lengthOf[static_cast<size_t>(name)] = static_cast<int>(text.size());
        table.longestName = std::max(table.longestName, static_cast<int>(text.size()));
        table.codeOffsets[static_cast<size_t>(name)] = static_cast<int>(table.codes.size());
        table.codes += similarityCodes(text);
        upperNames[static_cast<size_t>(name)] = text.toString().toUpper();
    }
    const KeyGroups caseGroups =
        groupEqualTexts(std::vector<QStringView>(upperNames.begin(), upperNames.end()));
    table.caseGroupOf = caseGroups.groupOf;
    std::vector<int> caseGroupOfPosition(nameGroups.groupOf.size());
    for (size_t position = 0; position < caseGroupOfPosition.size(); ++position)
        caseGroupOfPosition[position] =
            table.caseGroupOf[static_cast<size_t>(nameGroups.groupOf[position])];
    table.positionsOfCaseGroup = PositionLists::build(caseGroupOfPosition, caseGroups.groupCount);

    std::vector<int> order(static_cast<size_t>(nameCount));
    for (int name = 0; name < nameCount; ++name)
        order[static_cast<size_t>(name)] = name;
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int lengthA = table.lengthOf[static_cast<size_t>(a)];
        const int lengthB = table.lengthOf[static_cast<size_t>(b)];
        if (lengthA != lengthB)
            return lengthA < lengthB;
        return table.positionsOfName.last(a) > table.positionsOfName.last(b);
    });
    table.listOffsets.assign(static_cast<size_t>(table.longestName) + 2, 0);
    for (const int name : order) {
        ++table.listOffsets[static_cast<size_t>(table.lengthOf[static_cast<size_t>(name)]) + 1];
        table.listName.push_back(name);
        table.listLastPosition.push_back(table.positionsOfName.last(name));
        table.listCounts.push_back(countBuckets(table.codesOf(name)));
    }
    for (size_t length = 0; length + 1 < table.listOffsets.size(); ++length)
        table.listOffsets[length + 1] += table.listOffsets[length];

    constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
    const int longestInBlocks =
        std::min(table.longestName, LongestCommonSubsequenceBlocks::longestName);
    table.firstBlockOfLength.assign(static_cast<size_t>(longestInBlocks) + 1, 0);
    std::vector<std::u16string_view> blockNames;
    for (int entry = table.listOffsets[1];
         entry < table.listOffsets[static_cast<size_t>(longestInBlocks) + 1]; ++entry)
        blockNames.push_back(table.codesOf(table.listName[static_cast<size_t>(entry)]));
    table.shortNames.chooseClasses(blockNames);
    int blockCount = 0;
    for (int length = 1; length <= longestInBlocks; ++length) {
        table.firstBlockOfLength[static_cast<size_t>(length)] = blockCount;
        const int begin = table.listOffsets[static_cast<size_t>(length)];
        const int end = table.listOffsets[static_cast<size_t>(length) + 1];
        for (int entry = begin; entry < end; entry += lanes) {
            blockNames.clear();
            for (int at = entry; at < std::min(entry + lanes, end); ++at)
                blockNames.push_back(table.codesOf(table.listName[static_cast<size_t>(at)]));
            table.shortNames.addBlock(blockNames);
            ++blockCount;
        }
    }

    table.neededMatches.resize(2 * static_cast<size_t>(table.longestName) + 1);
    for (size_t total = 0; total < table.neededMatches.size(); ++total)
        table.neededMatches[total] = minimumMatchedCharacters(static_cast<int>(total));
    return table;
}

// Finds, for one distinct name at a time, the two facts the final rows need; one per
// thread, with buffers reused from name to name.
class NameScanner {
public:
    explicit NameScanner(const NameTable& table) : table_(table) {}

    // The greatest last position of a name alike to this one after it, at least the last
    // position of its case group. Leaves the names that passed the bounds but were not
    // alike in notAlikeLater().
    int scanLater(int name) {
        const int length = start(name);
        const int caseGroup = table_.caseGroupOf[static_cast<size_t>(name)];
        // The name against every name whose last position is further down, latest first,
        // so that the first alike name in each length ends that length's scan.
        int latest = table_.positionsOfCaseGroup.last(caseGroup);
        notAlikeLater_.clear();
        for (const int otherLength : lengthsInReach_) {
            const int needed = table_.neededMatches[static_cast<size_t>(length + otherLength)];
            const int begin = table_.listOffsets[static_cast<size_t>(otherLength)];
            const int end = table_.listOffsets[static_cast<size_t>(otherLength) + 1];
            for (int entry = begin; entry < end; ++entry) {
                const int position = table_.listLastPosition[static_cast<size_t>(entry)];
                if (position <= latest)
                    break;
                const int other = table_.listName[static_cast<size_t>(entry)];
                if (!couldBeAlike(entry, other, caseGroup, needed)) {
                    entry = lastRuledOutWith(entry);
                    continue;
                }
                if (alike(name, other, needed)) {
                    latest = position;
                    break;
                }
                notAlikeLater_.push_back(other);
            }
        }
        return latest;
    }

    const std::vector<int>& notAlikeLater() const { return notAlikeLater_; }

    // For a name whose last position has nothing alike after it: the greatest earlier
    // position whose name, put first, is alike to this one, or -1. `notAlikeLater` is what
    // scanLater left; an entry whose name is settled before this name's last position
    // (see settledBefore) is known not to be alike without looking.
    int scanEarlier(int name, const std::vector<int>& notAlikeLater,
                    const std::vector<int>& settledBefore) {
        const int length = start(name);
        const int caseGroup = table_.caseGroupOf[static_cast<size_t>(name)];
        const int lastPosition = table_.positionsOfName.last(name);
        int earliest = table_.positionsOfCaseGroup.before(caseGroup, lastPosition);
        for (const int other : notAlikeLater) {
            const int position = table_.positionsOfName.before(other, lastPosition);
            const int needed = table_.neededMatches[static_cast<size_t>(
                length + table_.lengthOf[static_cast<size_t>(other)])];
            if (position > earliest && alike(other, name, needed))
                earliest = position;
        }
        for (const int otherLength : lengthsInReach_) {
            const int needed = table_.neededMatches[static_cast<size_t>(length + otherLength)];
            const auto begin = table_.listLastPosition.begin() +
                               table_.listOffsets[static_cast<size_t>(otherLength)];
            const auto end = table_.listLastPosition.begin() +
                             table_.listOffsets[static_cast<size_t>(otherLength) + 1];
            // The list runs from the latest last position down; skip those not above ours.
            const auto first = std::partition_point(
                begin, end, [&](int position) { return position >= lastPosition; });
            for (auto at = first; at != end; ++at) {
                if (*at <= earliest)
                    break;
                const int entry = static_cast<int>(at - table_.listLastPosition.begin());
                if (settledBefore[static_cast<size_t>(entry)] < lastPosition)
                    continue;
                const int other = table_.listName[static_cast<size_t>(entry)];
                if (!couldBeAlike(entry, other, caseGroup, needed)) {
                    at += lastRuledOutWith(entry) - entry;
                    continue;
                }
                if (alike(other, name, needed)) {
                    earliest = *at;
                    break;
                }
            }
        }
        return earliest;
    }

private:
    // Sets up for a new name; returns its length.
    int start(int name) {
        const int length = table_.lengthOf[static_cast<size_t>(name)];
        patternSet_ = false;
        name_ = name;
        laneBlock_ = -1;
        lanePatternSet_ = false;
        collectLengthsInReach(length);
        return length;
    }

    // The lengths a name of this length can be alike to, nearest first: near lengths are
    // the likeliest to hold an alike name, and finding one early cuts the other scans short.
    void collectLengthsInReach(int length) {
        lengthsInReach_.clear();
        auto consider = [&](int other) {
            const int needed = table_.neededMatches[static_cast<size_t>(length + other)];
            if (std::min(length, other) >= needed)
                lengthsInReach_.push_back(other);
        };
        consider(length);
        for (int distance = 1; distance <= table_.longestName; ++distance) {
            if (length - distance >= 0)
                consider(length - distance);
            if (length + distance <= table_.longestName)
                consider(length + distance);
        }
    }

    // Cheap tests that can only rule a pair out; all of them are the same either way round.
    // Names equal apart from case are settled by their case group, not here.
    bool couldBeAlike(int entry, int other, int caseGroup, int needed) {
        const int length = table_.lengthOf[static_cast<size_t>(name_)];
        const int otherLength = table_.lengthOf[static_cast<size_t>(other)];
        if (otherLength <= LongestCommonSubsequenceBlocks::longestName &&
            length <= LongestCommonSubsequenceBlocks::longestName) {
            // The whole block at once: its other lanes are the entries that come next.
            constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
            const int begin = table_.listOffsets[static_cast<size_t>(otherLength)];
            const int offset = entry - begin;
            const int block =
                table_.firstBlockOfLength[static_cast<size_t>(otherLength)] + offset / lanes;
            if (block != laneBlock_) {
                if (!lanePatternSet_) {
                    table_.shortNames.setPattern(lanePattern_, table_.codesOf(name_));
                    lanePatternSet_ = true;
                }
                laneBlock_ = block;
                const int blockBegin = begin + offset / lanes * lanes;
                laneBlockEnd_ = std::min(blockBegin + lanes,
                                         table_.listOffsets[static_cast<size_t>(otherLength) + 1]);
                lanesIn_ = laneBlockEnd_ - blockBegin;
                reachingLanes_ = table_.shortNames.lanesReaching(block, lanePattern_, needed);
            }
            return ((reachingLanes_ >> (offset % lanes)) & 1) != 0 &&
                   table_.caseGroupOf[static_cast<size_t>(other)] != caseGroup;
        }
        if (table_.caseGroupOf[static_cast<size_t>(other)] == caseGroup)
            return false;
        if (length <= longestCountedName && otherLength <= longestCountedName &&
            sharedCount(ownCounts(), table_.listCounts[static_cast<size_t>(entry)]) < needed)
            return false;
        if (!patternSet_) {
            subsequence_.setPattern(table_.codesOf(name_));
            patternSet_ = true;
        }
        return subsequence_.lengthWith(table_.codesOf(other)) >= needed;
    }

    // The last entry of the lane block of `entry` when the block ruled all its lanes out
    // (they need not be looked at one by one), otherwise `entry`.
    int lastRuledOutWith(int entry) const {
        const bool inBlock =
            laneBlock_ >= 0 && entry >= laneBlockEnd_ - lanesIn_ && entry < laneBlockEnd_;
        return reachingLanes_ == 0 && inBlock ? laneBlockEnd_ - 1 : entry;
    }

    const BucketCounts& ownCounts() {
        if (countsOf_ != name_) {
            counts_ = countBuckets(table_.codesOf(name_));
            countsOf_ = name_;
        }
        return counts_;
    }

    bool alike(int first, int second, int needed) const {
        return matchingCharactersReach(table_.codesOf(first), table_.codesOf(second), needed);
    }

    const NameTable& table_;
    LongestCommonSubsequence subsequence_;
    bool patternSet_ = false;
    int name_ = -1;
    BucketCounts counts_{};
    int countsOf_ = -1;
    LongestCommonSubsequenceBlocks::Pattern lanePattern_;
    bool lanePatternSet_ = false;
    int laneBlock_ = -1;
    int laneBlockEnd_ = 0;
    int lanesIn_ = 0;
    unsigned reachingLanes_ = 0;
    std::vector<int> lengthsInReach_;
    std::vector<int> notAlikeLater_;
};

} // namespace

std::vector<ResultRow> findDuplicatesBySimilarity(const QStringList& paths, PathStyle style,
                                                  int threads, SearchProgressReporter& reporter) {
    const int count = static_cast<int>(paths.size());
    const KeyGroups pathGroups =
        groupEqualTexts(std::vector<QStringView>(paths.begin(), paths.end()));
    KeyGroups nameGroups;
    const NameTable table = buildNameTable(paths, style, nameGroups);
    const int nameCount = table.nameCount();

    // Per name: the greatest last position of an alike name after it (scanned first, for
    // every name), and, where nothing after its last position is alike, the greatest
    // earlier alike position (scanned second).
    std::vector<int> latestAlikeLater(static_cast<size_t>(nameCount), -1);
    std::vector<int> latestEarlierAlike(static_cast<size_t>(nameCount), -1);
    // What the first scan of such a name left for its second, when short enough to keep;
    // the others scan again.
    constexpr size_t longestKeptList = 256;
    std::vector<std::vector<int>> notAlikeLater(static_cast<size_t>(nameCount));
    std::vector<char> scanAgain(static_cast<size_t>(nameCount), 0);
    auto needsEarlier = [&](int name) {
        return latestAlikeLater[static_cast<size_t>(name)] <= table.positionsOfName.last(name);
    };

    // A scanner per thread keeps its buffers from one name to the next.
    constexpr int namesPerTask = 8;
    const int taskCount = (nameCount + namesPerTask - 1) / namesPerTask;
    std::vector<NameScanner> scanners(static_cast<size_t>(workerCountFor(threads)),
                                      NameScanner(table));
    // The two scans share the progress bar's part for the pair stage, half each.
    auto runScan = [&](int half, const std::function<void(NameScanner&, int name)>& scan) {
        return runTasksInParallel(
            taskCount, threads,
            [&](int task, int worker) {
                NameScanner& scanner = scanners[static_cast<size_t>(worker)];
                const int last = std::min((task + 1) * namesPerTask, nameCount);
                for (int name = task * namesPerTask; name < last; ++name)
                    scan(scanner, name);
            },
            [&](int tasksDone) {
                const long long namesDone = std::min<long long>(
                    static_cast<long long>(tasksDone) * namesPerTask, nameCount);
                reporter.report(
                    SearchProgress::Stage::Pairs,
                    static_cast<int>(count * (half * nameCount + namesDone) / (2LL * nameCount)),
                    count);
                return !reporter.stopRequested();
            });
    };
    bool finished = runScan(0, [&](NameScanner& scanner, int name) {
        latestAlikeLater[static_cast<size_t>(name)] = scanner.scanLater(name);
        if (!needsEarlier(name))
            return;
        if (scanner.notAlikeLater().size() <= longestKeptList)
            notAlikeLater[static_cast<size_t>(name)] = scanner.notAlikeLater();
        else
            scanAgain[static_cast<size_t>(name)] = 1;
    });
    if (!finished || reporter.stopRequested())
        return {};

    // A name that found nothing alike after it has been put first against every name in
    // reach whose last position is after its case group's, and none was alike. The second
    // scan puts the earlier name first as well (and the bounds agree either way round), so
    // those pairs are settled. Per list entry, the position after which its name's pairs
    // are settled (none when it found something).
    std::vector<int> settledBefore(table.listName.size());
    for (size_t entry = 0; entry < settledBefore.size(); ++entry) {
        const int name = table.listName[entry];
        const int caseGroupLast =
            table.positionsOfCaseGroup.last(table.caseGroupOf[static_cast<size_t>(name)]);
        settledBefore[entry] = latestAlikeLater[static_cast<size_t>(name)] == caseGroupLast
                                   ? caseGroupLast
                                   : std::numeric_limits<int>::max();
    }
    finished = runScan(1, [&](NameScanner& scanner, int name) {
        if (!needsEarlier(name))
            return;
        if (scanAgain[static_cast<size_t>(name)] != 0)
            scanner.scanLater(name);
        const std::vector<int>& kept = scanAgain[static_cast<size_t>(name)] != 0
                                           ? scanner.notAlikeLater()
                                           : notAlikeLater[static_cast<size_t>(name)];
        latestEarlierAlike[static_cast<size_t>(name)] =
            scanner.scanEarlier(name, kept, settledBefore);
    });
    if (!finished || reporter.stopRequested())
        return {};

    PairFacts facts(count);
    for (int name = 0; name < nameCount; ++name) {
        const int later = latestAlikeLater[static_cast<size_t>(name)];
        const int earlier = latestEarlierAlike[static_cast<size_t>(name)];
        const int begin = table.positionsOfName.offsets[static_cast<size_t>(name)];
        const int end = table.positionsOfName.offsets[static_cast<size_t>(name) + 1];
        for (int at = begin; at < end; ++at) {
            const int position = table.positionsOfName.positions[static_cast<size_t>(at)];
            if (later > position)
                facts.noteLaterMatch(position, later);
            else if (earlier >= 0)
                facts.noteEarlierMatch(position, earlier);
        }
    }
    return facts.finalRows(paths, pathGroups);
}

} // namespace velmora
