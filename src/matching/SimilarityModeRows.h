#pragma once

#include "DuplicateSearch.h"
#include "SearchProgressReporter.h"

namespace velmora {

// Completes the final rows of a similarity run, which come with path, tick and partner:
// each row gets the ratio of its pair (earlier entry's name first), and a path that is
// listed more than once but matched no other path loses its tick, since it is no
// duplicate of anything. Only the final rows are looked at; the lists of names are built
// only when such a path turns up. Leaves the rows as they are when stopped.
void completeSimilarityRows(std::vector<ResultRow>& rows, const QStringList& paths, PathStyle style,
                            int threads, SearchProgressReporter& reporter);

} // namespace velmora
