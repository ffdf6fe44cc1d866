#include "SimilarityNames.h"

#include "NameKeys.h"
#include "SimilarFilename.h"
#include "SimilarityThreshold.h"

namespace velmora {

PositionLists PositionLists::build(const std::vector<int>& groupOfPosition, int groupCount) {
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
            fill[static_cast<size_t>(groupOfPosition[position])]++)] = static_cast<int>(position);
    return lists;
}

void fillNameList(NameList& list, const NameTable& table, std::vector<int> names) {
    std::sort(names.begin(), names.end(), [&](int a, int b) {
        const int lengthA = table.lengthOf[static_cast<size_t>(a)];
        const int lengthB = table.lengthOf[static_cast<size_t>(b)];
        if (lengthA != lengthB)
            return lengthA < lengthB;
        return table.positionsOfName.last(a) > table.positionsOfName.last(b);
    });
    list.offsets.assign(static_cast<size_t>(table.longestName) + 2, 0);
    for (const int name : names) {
        ++list.offsets[static_cast<size_t>(table.lengthOf[static_cast<size_t>(name)]) + 1];
        list.name.push_back(name);
        list.lastPosition.push_back(table.positionsOfName.last(name));
        list.counts.push_back(countBuckets(table.codesOf(name)));
    }
    for (size_t length = 0; length + 1 < list.offsets.size(); ++length)
        list.offsets[length + 1] += list.offsets[length];

    constexpr int lanes = LongestCommonSubsequenceBlocks::lanes;
    const int longestInBlocks =
        std::min(table.longestName, LongestCommonSubsequenceBlocks::longestName);
    list.firstBlockOfLength.assign(static_cast<size_t>(longestInBlocks) + 1, 0);
    std::vector<std::u16string_view> blockNames;
    int blockCount = 0;
    for (int length = 1; length <= longestInBlocks; ++length) {
        list.firstBlockOfLength[static_cast<size_t>(length)] = blockCount;
        const int begin = list.offsets[static_cast<size_t>(length)];
        const int end = list.offsets[static_cast<size_t>(length) + 1];
        for (int entry = begin; entry < end; entry += lanes) {
            blockNames.clear();
            for (int at = entry; at < std::min(entry + lanes, end); ++at)
                blockNames.push_back(table.codesOf(list.name[static_cast<size_t>(at)]));
            list.blocks.addBlock(blockNames);
            ++blockCount;
        }
    }
    list.firstSummaryOfLength.assign(static_cast<size_t>(longestInBlocks) + 1, -1);
    for (int length = 1; length <= longestInBlocks; ++length) {
        const int first = list.firstBlockOfLength[static_cast<size_t>(length)];
        const int end = length < longestInBlocks
                            ? list.firstBlockOfLength[static_cast<size_t>(length) + 1]
                            : blockCount;
        if (end - first < 2)
            continue;
        for (int block = first; block < end; block += lanes) {
            const int summary = list.blocks.addSummaryBlock(block, std::min(lanes, end - block));
            if (block == first)
                list.firstSummaryOfLength[static_cast<size_t>(length)] = summary;
        }
    }
}

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
    std::vector<std::u16string_view> shortNames;
    for (const int name : order)
        if (table.lengthOf[static_cast<size_t>(name)] <=
            LongestCommonSubsequenceBlocks::longestName)
            shortNames.push_back(table.codesOf(name));
    table.all.blocks.chooseClasses(shortNames);
    fillNameList(table.all, table, std::move(order));

    table.neededMatches.resize(2 * static_cast<size_t>(table.longestName) + 1);
    for (size_t total = 0; total < table.neededMatches.size(); ++total)
        table.neededMatches[total] = minimumMatchedCharacters(static_cast<int>(total));
    return table;
}

} // namespace velmora
