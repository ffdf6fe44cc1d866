#include "SimilarityModeSearch.h"

#include "FinalRows.h"
#include "ParallelTasks.h"
#include "SimilarFilename.h"
#include "SimilarityModeRows.h"
#include "SimilarityNames.h"

#include <algorithm>
#include <array>
#include <bit>
#include <functional>
#include <string_view>

namespace velmora {

namespace {

// Names of one length scanned together: a block's masks, once read, serve them all from
// the nearest cache. The blocks of a big list do not all fit in the caches, so every run
// reads them from memory again, and fewer, longer runs read less: on 180,000 names, runs
// of 1,024 took a fifth less time than runs of 128. Runs stay short enough that each
// thread gets at least `runsPerWorker` of them, so that none waits long for the last.
constexpr int namesPerRun = 1024;
constexpr int shortestRun = 128;
constexpr int runsPerWorker = 16;

// Finds, for each distinct name, the two facts the final rows need; one per thread, with
// buffers reused from name to name.
class NameScanner {
public:
    explicit NameScanner(const NameTable& table) : table_(table) {}

    // For each of a run of names of one length (at most namesPerRun): the greatest last
    // position of a name alike to it after it, at least the last position of its case
    // group (latestAlikeLater), and the names that passed the bounds but were not alike
    // (notAlikeLater). The names go through each block of short names together, so its
    // masks are read from memory once for all of them.
    void scanLater(const int* names, int count) {
        const int length = table_.lengthOf[static_cast<size_t>(names[0])];
        collectLengthsInReach(length);
        run_.assign(names, names + count);
        for (int at = 0; at < count; ++at) {
            RunName& runName = runNames_[static_cast<size_t>(at)];
            runName.caseGroup = table_.caseGroupOf[static_cast<size_t>(names[at])];
            // Every name whose last position is further down, latest first, so that the
            // first alike name in each length ends that length's scan.
            runName.latest = table_.positionsOfCaseGroup.last(runName.caseGroup);
            runName.notAlikeLater.clear();
            if (length <= LongestCommonSubsequenceBlocks::longestName)
                table_.all.blocks.setText(runName.text, table_.codesOf(names[at]));
        }
        // Lengths where either side is too long for the blocks go entry by entry.
        lengthsOutsideBlocks_.clear();
        for (const int otherLength : lengthsInReach_) {
            if (length <= LongestCommonSubsequenceBlocks::longestName &&
                otherLength <= LongestCommonSubsequenceBlocks::longestName)
                scanBlocksLater(otherLength);
            else
                lengthsOutsideBlocks_.push_back(otherLength);
        }
        if (lengthsOutsideBlocks_.empty())
            return;
        for (int at = 0; at < count; ++at) {
            startName(names[at]);
            for (const int otherLength : lengthsOutsideBlocks_)
                scanEntriesLater(runNames_[static_cast<size_t>(at)], otherLength);
        }
    }

    int latestAlikeLater(int at) const { return runNames_[static_cast<size_t>(at)].latest; }
    const std::vector<int>& notAlikeLater(int at) const {
        return runNames_[static_cast<size_t>(at)].notAlikeLater;
    }

    // For a name whose last position has nothing alike after it: the greatest earlier
    // position whose name, put first, is alike to this one, or -1. `notAlikeLater` is what
    // scanLater left. `candidates` holds at least the names whose pairs with later ones
    // the first scan did not all settle; per entry, `settledBefore` is the position after
    // which they are (see findDuplicatesBySimilarity), and later names need no look.
    int scanEarlier(int name, const std::vector<int>& notAlikeLater, const NameList& candidates,
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
        for (const int otherLength : lengthsInReach_)
            earliest = scanEarlierOfLength(name, caseGroup, lastPosition, earliest, otherLength,
                                           candidates, settledBefore);
        return earliest;
    }

    // scanEarlier for a run of names of one length, each with what its first scan left:
    // the names go through each block of candidates together, as in scanLater. Puts each
    // name's result in `earliest`.
    void scanEarlierRun(const int* names, int count,
                        const std::vector<const std::vector<int>*>& notAlikeLater,
                        const NameList& candidates, const std::vector<int>& settledBefore,
                        int* earliest) {
        const int length = table_.lengthOf[static_cast<size_t>(names[0])];
        if (length > LongestCommonSubsequenceBlocks::longestName) {
            for (int at = 0; at < count; ++at)
                earliest[at] = scanEarlier(names[at], *notAlikeLater[static_cast<size_t>(at)],
                                           candidates, settledBefore);
            return;
        }
        collectLengthsInReach(length);
        earlierNames_.resize(static_cast<size_t>(count));
        for (int at = 0; at < count; ++at) {
            EarlierName& named = earlierNames_[static_cast<size_t>(at)];
            named.name = names[at];
            named.caseGroup = table_.caseGroupOf[static_cast<size_t>(named.name)];
            named.lastPosition = table_.positionsOfName.last(named.name);
            named.earliest =
                table_.positionsOfCaseGroup.before(named.caseGroup, named.lastPosition);
            for (const int other : *notAlikeLater[static_cast<size_t>(at)]) {
                const int position = table_.positionsOfName.before(other, named.lastPosition);
                const int needed = table_.neededMatches[static_cast<size_t>(
                    length + table_.lengthOf[static_cast<size_t>(other)])];
                if (position > named.earliest && alike(other, named.name, needed))
                    named.earliest = position;
            }
            candidates.blocks.setText(named.text, table_.codesOf(named.name));
        }
        for (const int otherLength : lengthsInReach_) {
            if (otherLength <= LongestCommonSubsequenceBlocks::longestName) {
                scanEarlierBlocks(otherLength, candidates, settledBefore);
                continue;
            }
            for (EarlierName& named : earlierNames_) {
                startName(named.name);
                named.earliest =
                    scanEarlierOfLength(named.name, named.caseGroup, named.lastPosition,
                                        named.earliest, otherLength, candidates, settledBefore);
            }
        }
        for (int at = 0; at < count; ++at)
            earliest[at] = earlierNames_[static_cast<size_t>(at)].earliest;
    }

private:
    // The blocks of one summary group a text may find an alike name in, as bits.
    struct BlocksInReach {
        int summary = -1; // the summary block they were found with
        unsigned blocks = 0;
    };

    // Runs `block` of `list` for the texts of `which` several at a time, and hands each
    // its lanes that reach `needed`.
    template <typename TextOf, typename Take>
    static void runBlockFor(const NameList& list, int block, const std::vector<int>& which,
                            int needed, TextOf textOf, Take take) {
        constexpr int atOnce = LongestCommonSubsequenceBlocks::textsAtOnce;
        for (size_t next = 0; next < which.size(); next += atOnce) {
            const int count = static_cast<int>(std::min(which.size() - next, size_t{atOnce}));
            const LongestCommonSubsequenceBlocks::Text* texts[atOnce];
            for (int text = 0; text < count; ++text)
                texts[text] = &textOf(which[next + static_cast<size_t>(text)]);
            unsigned reaching[atOnce];
            list.blocks.lanesReaching(block, texts, count, needed, reaching);
            for (int text = 0; text < count; ++text)
                take(which[next + static_cast<size_t>(text)], reaching[text]);
        }
    }

    // Of the texts of `which`, those that block `block` of the length may hold an alike
    // name for (`which` itself, or running_): a text that has been through the summary of
    // the block's group keeps the block only where the summary let it through. Summaries
    // pay where neighbouring names in the list are much alike (a sorted folder) and cost a
    // fifth more where they are not (random names), so a text goes through one while they
    // have lately ruled out enough, and in one group of sixteen in any case, which notices
    // a list that changes character.
    //
    // Where texts only ever leave `which` while a length is scanned (the first scan: `left`
    // marks those gone), a group's summary runs once, on its first block, and each block
    // takes the texts its lane let through from a list made then, with no look at the others.
    template <typename TextOf>
    const std::vector<int>& keepInReach(const NameList& list, int otherLength, int block,
                                        const std::vector<int>& which, int needed, TextOf textOf,
                                        const std::vector<char>* left = nullptr) {
        constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
        const int firstSummary = list.firstSummaryOfLength[static_cast<size_t>(otherLength)];
        if (firstSummary < 0)
            return which;
        const int inLength = block - list.firstBlockOfLength[static_cast<size_t>(otherLength)];
        const int summary = firstSummary + inLength / lanes;
        if (groupSummary_ != summary) {
            groupSummary_ = summary;
            groupReach_ = 0;
            groupSummarised_ = false;
            for (std::vector<int>& texts : inReachOf_)
                texts.clear();
        }
        if (inLength % lanes == 0 ||
            (summaryRuledOut_ >= worthwhileShare && (left == nullptr || !groupSummarised_))) {
            unsummarised_.clear();
            for (const int at : which)
                if (reach_[static_cast<size_t>(at)].summary != summary)
                    unsummarised_.push_back(at);
            if (!unsummarised_.empty() &&
                (summaryRuledOut_ >= worthwhileShare || (++groupsSeen_ & 15) == 0)) {
                const int blocksOfLength =
                    (list.offsets[static_cast<size_t>(otherLength) + 1] -
                     list.offsets[static_cast<size_t>(otherLength)] + lanes - 1) /
                    lanes;
                const int inGroup = std::min(lanes, blocksOfLength - inLength / lanes * lanes);
                runBlockFor(
                    list, summary, unsummarised_, needed, textOf, [&](int at, unsigned blocks) {
                        reach_[static_cast<size_t>(at)] = {summary, blocks};
                        if (left != nullptr) {
                            groupReach_ |= blocks;
                            for (unsigned rest = blocks; rest != 0; rest &= rest - 1)
                                inReachOf_[static_cast<size_t>(std::countr_zero(rest))].push_back(
                                    at);
                        }
                        const double ruledOut =
                            1.0 - static_cast<double>(std::popcount(blocks)) / inGroup;
                        summaryRuledOut_ += (ruledOut - summaryRuledOut_) / 16;
                    });
                groupSummarised_ = true;
            }
        }
        // Where no text has been through the summary, as where summaries do not pay, every
        // text runs, without a look at each.
        if (!groupSummarised_) {
            groupReach_ = ~0u;
            return which;
        }
        running_.clear();
        if (left != nullptr) {
            for (const int at : inReachOf_[static_cast<size_t>(inLength % lanes)])
                if ((*left)[static_cast<size_t>(at)] == 0)
                    running_.push_back(at);
            return running_;
        }
        for (const int at : which) {
            const BlocksInReach& reach = reach_[static_cast<size_t>(at)];
            groupReach_ |= reach.summary == summary ? reach.blocks : ~0u;
            if (reach.summary != summary || ((reach.blocks >> (inLength % lanes)) & 1) != 0)
                running_.push_back(at);
        }
        return running_;
    }

    // Whether the summary of the block's group, where every text still scanning has been
    // through it, ruled the block out for all of them.
    bool ruledOutForAll(const NameList& list, int otherLength, int block) const {
        constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
        const int firstSummary = list.firstSummaryOfLength[static_cast<size_t>(otherLength)];
        const int inLength = block - list.firstBlockOfLength[static_cast<size_t>(otherLength)];
        return firstSummary >= 0 && groupSummary_ == firstSummary + inLength / lanes &&
               ((groupReach_ >> (inLength % lanes)) & 1) == 0;
    }

    struct EarlierName {
        int name = 0;
        int caseGroup = 0;
        int lastPosition = 0;
        int earliest = -1;
        int first = 0;     // the first entry of the length's list before the name's last position
        bool done = false; // with the length scanned now
        LongestCommonSubsequenceBlocks::Text text;
    };

    // One length of scanEarlier for one name, after startName.
    int scanEarlierOfLength(int name, int caseGroup, int lastPosition, int earliest,
                            int otherLength, const NameList& candidates,
                            const std::vector<int>& settledBefore) {
        const int length = table_.lengthOf[static_cast<size_t>(name)];
        const int needed = table_.neededMatches[static_cast<size_t>(length + otherLength)];
        const auto begin =
            candidates.lastPosition.begin() + candidates.offsets[static_cast<size_t>(otherLength)];
        const auto end = candidates.lastPosition.begin() +
                         candidates.offsets[static_cast<size_t>(otherLength) + 1];
        // The list runs from the latest last position down; skip those not above ours.
        const auto first = std::partition_point(
            begin, end, [&](int position) { return position >= lastPosition; });
        for (auto at = first; at != end; ++at) {
            if (*at <= earliest)
                break;
            const int entry = static_cast<int>(at - candidates.lastPosition.begin());
            if (settledBefore[static_cast<size_t>(entry)] < lastPosition)
                continue;
            const int other = candidates.name[static_cast<size_t>(entry)];
            if (!couldBeAlike(candidates, entry, other, caseGroup, needed)) {
                at += lastRuledOutWith(entry) - entry;
                continue;
            }
            if (alike(other, name, needed))
                return *at;
        }
        return earliest;
    }

    // The run of scanEarlierRun against the candidates' blocks of one length. A name takes
    // part in a block while the block holds entries of its window (before its last
    // position, after the greatest alike one found) not yet settled.
    void scanEarlierBlocks(int otherLength, const NameList& candidates,
                           const std::vector<int>& settledBefore) {
        constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
        const int length = table_.lengthOf[static_cast<size_t>(earlierNames_[0].name)];
        const int needed = table_.neededMatches[static_cast<size_t>(length + otherLength)];
        const int begin = candidates.offsets[static_cast<size_t>(otherLength)];
        const int end = candidates.offsets[static_cast<size_t>(otherLength) + 1];
        const auto positions = candidates.lastPosition.begin();
        for (EarlierName& named : earlierNames_) {
            named.first = static_cast<int>(
                std::partition_point(positions + begin, positions + end,
                                     [&](int position) { return position >= named.lastPosition; }) -
                positions);
            named.done = false;
        }
        reach_.assign(earlierNames_.size(), {});
        groupSummary_ = -1;
        int block = candidates.firstBlockOfLength[static_cast<size_t>(otherLength)];
        for (int blockBegin = begin; blockBegin < end; blockBegin += lanes, ++block) {
            const int blockEnd = std::min(blockBegin + lanes, end);
            scanning_.clear();
            bool anyLeft = false;
            for (size_t at = 0; at < earlierNames_.size(); ++at) {
                EarlierName& named = earlierNames_[at];
                if (named.done)
                    continue;
                anyLeft = true;
                const int from = std::max(blockBegin, named.first);
                for (int entry = from; entry < blockEnd; ++entry) {
                    if (positions[entry] <= named.earliest) {
                        named.done = entry == from;
                        break;
                    }
                    if (settledBefore[static_cast<size_t>(entry)] >= named.lastPosition) {
                        scanning_.push_back(static_cast<int>(at));
                        break;
                    }
                }
            }
            if (!anyLeft)
                return;
            auto textOf = [&](int at) -> const LongestCommonSubsequenceBlocks::Text& {
                return earlierNames_[static_cast<size_t>(at)].text;
            };
            const std::vector<int>& running =
                keepInReach(candidates, otherLength, block, scanning_, needed, textOf);
            runBlockFor(candidates, block, running, needed, textOf, [&](int at, unsigned reaching) {
                takeEarlierLanes(earlierNames_[static_cast<size_t>(at)], candidates, settledBefore,
                                 blockBegin, blockEnd, reaching, needed);
            });
        }
    }

    // The entries of a block in a name's window, in list order, as scanEarlierOfLength
    // takes them.
    void takeEarlierLanes(EarlierName& named, const NameList& candidates,
                          const std::vector<int>& settledBefore, int blockBegin, int blockEnd,
                          unsigned reaching, int needed) {
        for (int entry = std::max(blockBegin, named.first); entry < blockEnd; ++entry) {
            const int position = candidates.lastPosition[static_cast<size_t>(entry)];
            if (position <= named.earliest) {
                named.done = true;
                return;
            }
            if (settledBefore[static_cast<size_t>(entry)] < named.lastPosition ||
                ((reaching >> (entry - blockBegin)) & 1) == 0)
                continue;
            const int other = candidates.name[static_cast<size_t>(entry)];
            if (table_.caseGroupOf[static_cast<size_t>(other)] == named.caseGroup ||
                !subsequenceReaches(named.name, other, needed))
                continue;
            if (alike(other, named.name, needed)) {
                named.earliest = position;
                named.done = true;
                return;
            }
        }
    }

    struct RunName {
        int caseGroup = 0;
        int latest = 0;
        std::vector<int> notAlikeLater;
        LongestCommonSubsequenceBlocks::Text text;
    };

    // The run's names against the blocks of one length, several at a time.
    void scanBlocksLater(int otherLength) {
        constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
        const int needed = table_.neededMatches[static_cast<size_t>(
            table_.lengthOf[static_cast<size_t>(run_[0])] + otherLength)];
        const int begin = table_.all.offsets[static_cast<size_t>(otherLength)];
        const int end = table_.all.offsets[static_cast<size_t>(otherLength) + 1];
        int block = table_.all.firstBlockOfLength[static_cast<size_t>(otherLength)];
        scanning_.resize(run_.size());
        for (size_t at = 0; at < run_.size(); ++at)
            scanning_[at] = static_cast<int>(at);
        left_.assign(run_.size(), 0);
        latestOfAny_ = -1;
        for (size_t at = 0; at < run_.size(); ++at)
            latestOfAny_ = std::max(latestOfAny_, runNames_[at].latest);
        reach_.assign(run_.size(), {});
        groupSummary_ = -1;
        for (int blockBegin = begin; blockBegin < end; blockBegin += lanes, ++block) {
            if (ruledOutForAll(table_.all, otherLength, block))
                continue;
            // A name is done with this length once the block's latest entry is not after
            // the latest alike name it has; the entries only go down from there.
            const int firstPosition = table_.all.lastPosition[static_cast<size_t>(blockBegin)];
            if (firstPosition <= latestOfAny_) {
                latestOfAny_ = -1;
                std::erase_if(scanning_, [&](int at) {
                    const int latest = runNames_[static_cast<size_t>(at)].latest;
                    const bool done = firstPosition <= latest;
                    left_[static_cast<size_t>(at)] = done ? 1 : 0;
                    if (!done)
                        latestOfAny_ = std::max(latestOfAny_, latest);
                    return done;
                });
                if (scanning_.empty())
                    return;
            }
            auto textOf = [&](int at) -> const LongestCommonSubsequenceBlocks::Text& {
                return runNames_[static_cast<size_t>(at)].text;
            };
            const std::vector<int>& running =
                keepInReach(table_.all, otherLength, block, scanning_, needed, textOf, &left_);
            runBlockFor(table_.all, block, running, needed, textOf, [&](int at, unsigned reaching) {
                takeReachingLanes(at, blockBegin, reaching, needed);
            });
        }
    }

    // Settles, in list order, the entries of a block whose lanes reached the bound.
    void takeReachingLanes(int at, int blockBegin, unsigned reaching, int needed) {
        RunName& runName = runNames_[static_cast<size_t>(at)];
        for (; reaching != 0; reaching &= reaching - 1) {
            const int entry = blockBegin + std::countr_zero(reaching);
            const int position = table_.all.lastPosition[static_cast<size_t>(entry)];
            if (position <= runName.latest)
                return;
            const int other = table_.all.name[static_cast<size_t>(entry)];
            if (table_.caseGroupOf[static_cast<size_t>(other)] == runName.caseGroup)
                continue;
            // Codes that share a class let pairs through the lanes that their own codes
            // rule out, and the pair's bound is far cheaper than the block count. It rules
            // the pair out either way round, so the second scan need not see it.
            if (!subsequenceReaches(run_[static_cast<size_t>(at)], other, needed))
                continue;
            if (alike(run_[static_cast<size_t>(at)], other, needed)) {
                runName.latest = position;
                latestOfAny_ = std::max(latestOfAny_, position);
                return;
            }
            runName.notAlikeLater.push_back(other);
        }
    }

    // The current name against the entries of one length one by one, where either side
    // is too long for the blocks.
    void scanEntriesLater(RunName& runName, int otherLength) {
        const int needed = table_.neededMatches[static_cast<size_t>(
            table_.lengthOf[static_cast<size_t>(name_)] + otherLength)];
        const int begin = table_.all.offsets[static_cast<size_t>(otherLength)];
        const int end = table_.all.offsets[static_cast<size_t>(otherLength) + 1];
        for (int entry = begin; entry < end; ++entry) {
            const int position = table_.all.lastPosition[static_cast<size_t>(entry)];
            if (position <= runName.latest)
                return;
            const int other = table_.all.name[static_cast<size_t>(entry)];
            if (!couldBeAlike(table_.all, entry, other, runName.caseGroup, needed))
                continue;
            if (alike(name_, other, needed)) {
                runName.latest = position;
                return;
            }
            runName.notAlikeLater.push_back(other);
        }
    }

    // Sets up for a new name and the lengths in its reach; returns its length.
    int start(int name) {
        startName(name);
        const int length = table_.lengthOf[static_cast<size_t>(name)];
        collectLengthsInReach(length);
        return length;
    }

    void startName(int name) {
        name_ = name;
        laneBlock_ = -1;
        laneTextSet_ = false;
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
    bool couldBeAlike(const NameList& list, int entry, int other, int caseGroup, int needed) {
        const int length = table_.lengthOf[static_cast<size_t>(name_)];
        const int otherLength = table_.lengthOf[static_cast<size_t>(other)];
        if (otherLength <= LongestCommonSubsequenceBlocks::longestName &&
            length <= LongestCommonSubsequenceBlocks::longestName) {
            // The whole block at once: its other lanes are the entries that come next.
            constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
            const int begin = list.offsets[static_cast<size_t>(otherLength)];
            const int offset = entry - begin;
            const int block =
                list.firstBlockOfLength[static_cast<size_t>(otherLength)] + offset / lanes;
            if (block != laneBlock_) {
                if (!laneTextSet_) {
                    list.blocks.setText(laneText_, table_.codesOf(name_));
                    laneTextSet_ = true;
                }
                laneBlock_ = block;
                const int blockBegin = begin + offset / lanes * lanes;
                laneBlockEnd_ = std::min(blockBegin + lanes,
                                         list.offsets[static_cast<size_t>(otherLength) + 1]);
                lanesIn_ = laneBlockEnd_ - blockBegin;
                reachingLanes_ = list.blocks.lanesReaching(block, laneText_, needed);
            }
            return ((reachingLanes_ >> (offset % lanes)) & 1) != 0 &&
                   table_.caseGroupOf[static_cast<size_t>(other)] != caseGroup;
        }
        if (table_.caseGroupOf[static_cast<size_t>(other)] == caseGroup)
            return false;
        if (length <= longestCountedName && otherLength <= longestCountedName &&
            sharedCount(ownCounts(), list.counts[static_cast<size_t>(entry)]) < needed)
            return false;
        return subsequenceReaches(name_, other, needed);
    }

    // The subsequence bound on its own codes, not the lanes' classes, for one pair; the
    // first name's pattern is kept while it asks again.
    bool subsequenceReaches(int name, int other, int needed) {
        if (patternOf_ != name) {
            subsequence_.setPattern(table_.codesOf(name));
            patternOf_ = name;
        }
        return subsequence_.reaches(table_.codesOf(other), needed);
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
    int patternOf_ = -1; // the name whose pattern subsequence_ holds
    int name_ = -1;
    BucketCounts counts_{};
    int countsOf_ = -1;
    LongestCommonSubsequenceBlocks::Text laneText_;
    bool laneTextSet_ = false;
    int laneBlock_ = -1;
    int laneBlockEnd_ = 0;
    int lanesIn_ = 0;
    unsigned reachingLanes_ = 0;
    std::vector<int> lengthsInReach_;
    std::vector<int> lengthsOutsideBlocks_;
    std::vector<int> run_;
    std::vector<RunName> runNames_ = std::vector<RunName>(namesPerRun);
    std::vector<int> scanning_;
    std::vector<int> running_;
    std::vector<int> unsummarised_;
    std::vector<BlocksInReach> reach_; // per text of the length scanned now
    std::vector<char> left_;           // per text of the first scan: done with the length
    int latestOfAny_ = -1; // the greatest `latest` of the texts the first scan still runs
    // Per block of the group, the texts its summary lane let through (first scan only).
    std::array<std::vector<int>, LongestCommonSubsequenceBlocks::lanes> inReachOf_;
    // The summary block of the group scanned now, and the blocks of the group any text
    // that took part may find an alike name in.
    int groupSummary_ = -1;
    unsigned groupReach_ = 0;
    bool groupSummarised_ = false; // some text has been through the group's summary
    // The share of blocks the latest summary runs ruled out, and groups seen without one.
    static constexpr double worthwhileShare = 0.15;
    double summaryRuledOut_ = worthwhileShare;
    unsigned groupsSeen_ = 0;

    std::vector<EarlierName> earlierNames_;
};

} // namespace

std::vector<ResultRow> findDuplicatesBySimilarity(const QStringList& paths, PathStyle style,
                                                  const SearchHooks& hooks,
                                                  SearchProgressReporter& reporter) {
    const int threads = hooks.threads;
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

    // Both scans take the names in runs of one length, in list order; a scanner per thread
    // keeps its buffers from one run to the next.
    const int workers = workerCountFor(threads);
    const int runLength =
        std::clamp(nameCount / (workers * runsPerWorker), shortestRun, namesPerRun);
    std::vector<int> runEnds;
    const std::vector<int>& offsets = table.all.offsets;
    for (size_t length = 0; length + 1 < offsets.size(); ++length)
        for (int entry = offsets[length]; entry < offsets[length + 1]; entry += runLength)
            runEnds.push_back(std::min(entry + runLength, offsets[length + 1]));
    std::vector<NameScanner> scanners(static_cast<size_t>(workers), NameScanner(table));
    // The two scans share the progress bar's part for the pair stage, half each.
    auto runScan = [&](int half,
                       const std::function<void(NameScanner&, const int* names, int count)>& scan) {
        return runTasksInParallel(
            static_cast<int>(runEnds.size()), threads,
            [&](int task, int worker) {
                const int begin = task == 0 ? 0 : runEnds[static_cast<size_t>(task) - 1];
                scan(scanners[static_cast<size_t>(worker)],
                     &table.all.name[static_cast<size_t>(begin)],
                     runEnds[static_cast<size_t>(task)] - begin);
            },
            [&](int tasksDone) {
                // Runs finish about in order, so the names before the last one done are
                // about those finished.
                const long long namesDone =
                    tasksDone == 0 ? 0 : runEnds[static_cast<size_t>(tasksDone) - 1];
                reporter.report(
                    SearchProgress::Stage::Pairs,
                    static_cast<int>(count * (half * nameCount + namesDone) / (2LL * nameCount)),
                    count);
                return !reporter.stopRequested();
            });
    };
    bool finished = runScan(0, [&](NameScanner& scanner, const int* names, int runLength) {
        scanner.scanLater(names, runLength);
        for (int at = 0; at < runLength; ++at) {
            const int name = names[at];
            latestAlikeLater[static_cast<size_t>(name)] = scanner.latestAlikeLater(at);
            if (!needsEarlier(name))
                continue;
            if (scanner.notAlikeLater(at).size() <= longestKeptList)
                notAlikeLater[static_cast<size_t>(name)] = scanner.notAlikeLater(at);
            else
                scanAgain[static_cast<size_t>(name)] = 1;
        }
    });
    if (!finished || reporter.stopRequested())
        return {};

    // The first scan put each name first against every name in reach whose last position
    // is after the greatest alike one it found (or after its case group's), and none of
    // them was alike. The second scan puts the earlier name first as well (and the bounds
    // agree either way round), so those pairs are settled: a name is a candidate for the
    // second scan only where that position is after its own last one. Where few names are
    // (names that resist the bounds rarely find anything), they get a list and blocks of
    // their own, so that the second scan reads them alone; otherwise the list of all names
    // serves, and the settled entries are passed over one by one.
    std::vector<int> unsettled;
    for (int name = 0; name < nameCount; ++name)
        if (latestAlikeLater[static_cast<size_t>(name)] > table.positionsOfName.last(name))
            unsettled.push_back(name);
    NameList candidates;
    const bool candidatesApart = unsettled.size() * 4 <= static_cast<size_t>(nameCount);
    if (candidatesApart) {
        candidates.blocks.useClassesOf(table.all.blocks);
        fillNameList(candidates, table, std::move(unsettled));
    }
    const NameList& earlierNames = candidatesApart ? candidates : table.all;
    // Per entry of that list, the position after which its name's pairs are settled.
    std::vector<int> settledBefore;
    settledBefore.reserve(earlierNames.name.size());
    for (const int name : earlierNames.name)
        settledBefore.push_back(latestAlikeLater[static_cast<size_t>(name)]);
    finished = runScan(1, [&](NameScanner& scanner, const int* names, int runLength) {
        // Names whose first scan left too much to keep scan again one at a time; the
        // others go through the blocks together.
        std::vector<int> together;
        std::vector<const std::vector<int>*> kept;
        for (int at = 0; at < runLength; ++at) {
            const int name = names[at];
            if (!needsEarlier(name))
                continue;
            if (scanAgain[static_cast<size_t>(name)] != 0) {
                scanner.scanLater(&name, 1);
                latestEarlierAlike[static_cast<size_t>(name)] = scanner.scanEarlier(
                    name, scanner.notAlikeLater(0), earlierNames, settledBefore);
                continue;
            }
            together.push_back(name);
            kept.push_back(&notAlikeLater[static_cast<size_t>(name)]);
        }
        if (together.empty())
            return;
        std::vector<int> earliest(together.size());
        scanner.scanEarlierRun(together.data(), static_cast<int>(together.size()), kept,
                               earlierNames, settledBefore, earliest.data());
        for (size_t at = 0; at < together.size(); ++at)
            latestEarlierAlike[static_cast<size_t>(together[at])] = earliest[at];
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
    const std::vector<FinalRow> positions = facts.finalRowPositions(pathGroups);
    std::vector<ResultRow> rows = resultRowsAt(positions, paths);
    untickPathsMatchingOnlyThemselves(rows, positions, paths, style, table, nameGroups, pathGroups,
                                      hooks, reporter);
    if (reporter.stopRequested())
        return {};
    return rows;
}

} // namespace velmora
