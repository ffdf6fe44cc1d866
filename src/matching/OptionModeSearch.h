#pragma once

#include "DuplicateSearch.h"
#include "SearchProgressReporter.h"

namespace velmora {

// Option mode: two entries match when their paths are equal or their keys are equal at
// any enabled stage. Every key depends on one entry alone, so equal keys are found by
// hashing, stage by stage, without looking at pairs. Empty when stopped.
std::vector<ResultRow> findDuplicatesByOptions(const QStringList& paths,
                                               const SearchOptions& options, PathStyle style,
                                               const SearchHooks& hooks,
                                               SearchProgressReporter& reporter);

} // namespace velmora
