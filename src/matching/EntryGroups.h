#pragma once

#include "DuplicateSearch.h"
#include "FinalRows.h"
#include "KeyGroups.h"

#include <functional>
#include <utility>
#include <vector>

namespace velmora {

// The run's paths grouped by the directory entry they name: equal texts are always one
// entry, and different texts are where the run's lookup says so. Only the paths at
// `positionsToLookUp` are put to it, each distinct text once; the others keep their text
// group. The group numbers stay those of `pathGroups`, so the two can be used alike.
KeyGroups groupEntries(const QStringList& paths, const KeyGroups& pathGroups,
                       const std::vector<int>& positionsToLookUp, const SearchHooks& hooks);

// Ticked rows whose partner has their file name, by position: (row, partner).
using SameNamePairs = std::vector<std::pair<int, int>>;

// The final rows that may have matched only their own entry: ticked, against a partner of
// the same file name (only then can the two be one entry). `rows` indexes `positions`.
struct SameNameRows {
    std::vector<size_t> rows;
    SameNamePairs pairs;
};
SameNameRows tickedRowsWithSameNamePartners(const std::vector<FinalRow>& positions,
                                            const QStringList& paths, PathStyle style);
// The positions holding the names at the given positions, where more than one text holds
// such a name: only there can another text name the same entry.
using NameHolders = std::function<std::vector<int>(const std::vector<int>& positions)>;

// Entry groups good for deciding the ticks of such rows. A row whose partner is another
// entry matched something, so at first only the two paths of each pair with different
// texts are looked up; where that finds, or the texts already say, one entry, every holder
// of its name is looked up as well, since any of them may be that entry too.
KeyGroups groupEntriesOfPairs(const QStringList& paths, const KeyGroups& pathGroups,
                              const SameNamePairs& pairs, const NameHolders& holders,
                              const SearchHooks& hooks);

} // namespace velmora
