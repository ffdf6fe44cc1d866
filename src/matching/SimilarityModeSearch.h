#pragma once

#include "DuplicateSearch.h"
#include "SearchProgressReporter.h"

namespace velmora {

// Similarity mode: two entries match when their file names are alike, the earlier
// entry's name first. Equal names are alike (their ratio is 1), and equal paths have
// equal names, so only names need comparing, each distinct name once. Empty when stopped.
std::vector<ResultRow> findDuplicatesBySimilarity(const QStringList& paths, PathStyle style,
                                                  const SearchHooks& hooks,
                                                  SearchProgressReporter& reporter);

} // namespace velmora
