#include "EntryGroups.h"

#include "NameKeys.h"

namespace velmora {

SameNameRows tickedRowsWithSameNamePartners(const std::vector<FinalRow>& positions,
                                            const QStringList& paths, PathStyle style) {
    SameNameRows found;
    for (size_t at = 0; at < positions.size(); ++at) {
        const FinalRow& row = positions[at];
        if (row.ticked &&
            fileNameView(paths[row.position], style) == fileNameView(paths[row.partner], style)) {
            found.rows.push_back(at);
            found.pairs.emplace_back(row.position, row.partner);
        }
    }
    return found;
}

KeyGroups groupEntries(const QStringList& paths, const KeyGroups& pathGroups,
                       const std::vector<int>& positionsToLookUp, const SearchHooks& hooks) {
    if (!hooks.firstPathOfSameEntry)
        return pathGroups;
    std::vector<char> asked(static_cast<size_t>(pathGroups.groupCount), 0);
    std::vector<QStringView> texts;
    std::vector<int> textGroups;
    for (const int position : positionsToLookUp) {
        const int group = pathGroups.groupOf[static_cast<size_t>(position)];
        if (asked[static_cast<size_t>(group)] != 0)
            continue;
        asked[static_cast<size_t>(group)] = 1;
        texts.push_back(paths[position]);
        textGroups.push_back(group);
    }
    if (texts.size() < 2)
        return pathGroups;
    const std::vector<int> firsts = hooks.firstPathOfSameEntry(texts);
    // The first text of an entry stands for it; a later one takes its group.
    std::vector<int> entryOfTextGroup(static_cast<size_t>(pathGroups.groupCount), -1);
    bool merged = false;
    for (size_t at = 0; at < texts.size() && at < firsts.size(); ++at) {
        const int first = firsts[at];
        if (first < 0 || static_cast<size_t>(first) >= at)
            continue;
        entryOfTextGroup[static_cast<size_t>(textGroups[at])] =
            textGroups[static_cast<size_t>(first)];
        merged = true;
    }
    if (!merged)
        return pathGroups;
    KeyGroups entries = pathGroups;
    for (int& group : entries.groupOf) {
        const int entry = entryOfTextGroup[static_cast<size_t>(group)];
        if (entry >= 0)
            group = entry;
    }
    return entries;
}

KeyGroups groupEntriesOfPairs(const QStringList& paths, const KeyGroups& pathGroups,
                              const SameNamePairs& pairs, const NameHolders& holders,
                              const SearchHooks& hooks) {
    if (!hooks.firstPathOfSameEntry)
        return pathGroups;
    std::vector<int> ofTwoTexts;
    for (const auto& [row, partner] : pairs) {
        if (pathGroups.groupOf[static_cast<size_t>(row)] !=
            pathGroups.groupOf[static_cast<size_t>(partner)]) {
            ofTwoTexts.push_back(row);
            ofTwoTexts.push_back(partner);
        }
    }
    KeyGroups entries = groupEntries(paths, pathGroups, ofTwoTexts, hooks);
    std::vector<int> ofOneEntry;
    for (const auto& [row, partner] : pairs)
        if (entries.groupOf[static_cast<size_t>(row)] ==
            entries.groupOf[static_cast<size_t>(partner)])
            ofOneEntry.push_back(row);
    if (ofOneEntry.empty())
        return entries;
    return groupEntries(paths, pathGroups, holders(ofOneEntry), hooks);
}

} // namespace velmora
