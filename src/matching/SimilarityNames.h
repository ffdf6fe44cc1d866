#pragma once

#include "CharacterBuckets.h"
#include "KeyGroups.h"
#include "LongestCommonSubsequence.h"
#include "PathStyle.h"

#include <QStringList>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Positions grouped by a small number, kept in ascending order within each group.
struct PositionLists {
    std::vector<int> offsets; // group g holds positions[offsets[g] .. offsets[g + 1])
    std::vector<int> positions;

    static PositionLists build(const std::vector<int>& groupOfPosition, int groupCount);
    int first(int group) const { return positions[static_cast<size_t>(offsets[group])]; }
    int last(int group) const { return positions[static_cast<size_t>(offsets[group + 1] - 1)]; }
    // The greatest position of the group below `limit`, or -1.
    int before(int group, int limit) const {
        const auto begin = positions.begin() + offsets[static_cast<size_t>(group)];
        const auto end = positions.begin() + offsets[static_cast<size_t>(group) + 1];
        const auto found = std::lower_bound(begin, end, limit);
        return found == begin ? -1 : *(found - 1);
    }
};

// Names of each length, latest last position first, with what the scans read of each kept
// side by side, and the short ones sixteen to a block in list order.
struct NameList {
    std::vector<int> offsets; // per length
    std::vector<int> name;
    std::vector<int> lastPosition;
    std::vector<BucketCounts> counts;
    std::vector<int> firstBlockOfLength; // per length up to the longest that has blocks
    // Per such length, the summary of its first sixteen blocks, then of the next sixteen
    // and so on; -1 for a length of one block, which a summary would only repeat.
    std::vector<int> firstSummaryOfLength;
    LongestCommonSubsequenceBlocks blocks;
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

    NameList all;

    std::vector<int> neededMatches; // per total length of two names
    int longestName = 0;

    int nameCount() const { return static_cast<int>(lengthOf.size()); }
    std::u16string_view codesOf(int name) const {
        return std::u16string_view(codes).substr(
            static_cast<size_t>(codeOffsets[static_cast<size_t>(name)]),
            static_cast<size_t>(lengthOf[static_cast<size_t>(name)]));
    }
};

// Fills a list with the given names; its blocks' classes are chosen beforehand.
void fillNameList(NameList& list, const NameTable& table, std::vector<int> names);

// The distinct file names of the list (returned in `nameGroups`, per position), with all
// the scans of similarity mode read.
NameTable buildNameTable(const QStringList& paths, PathStyle style, KeyGroups& nameGroups);

} // namespace velmora
