#pragma once

#include "DuplicateSearch.h"
#include "FinalRows.h"
#include "SearchProgressReporter.h"
#include "SimilarityNames.h"

namespace velmora {

// The final rows of a similarity run come with path, tick and partner. These complete
// them; each leaves the rows as they are when stopped.

// A path that matched only paths of its own directory entry (itself listed again, or the
// same entry under another text, as `hooks` tells) loses its tick, since it is no
// duplicate of anything. `positions` are the rows' positions, `table` and `nameGroups` the
// run's names, `pathGroups` its paths grouped; the names are only looked at when such a path turns
// up.
void untickPathsMatchingOnlyThemselves(std::vector<ResultRow>& rows,
                                       const std::vector<FinalRow>& positions,
                                       const QStringList& paths, PathStyle style,
                                       const NameTable& table, const KeyGroups& nameGroups,
                                       const KeyGroups& pathGroups, const SearchHooks& hooks,
                                       SearchProgressReporter& reporter);

// Each row gets the ratio of its pair, earlier entry's name first.
void fillSimilarityRatios(std::vector<ResultRow>& rows, PathStyle style, int threads,
                          SearchProgressReporter& reporter);

} // namespace velmora
