#pragma once

#include "DuplicateSearch.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace velmora::reference {

using RatioFunction = std::function<double(const QString&, const QString&)>;
// The directory entry a path names, as a text; paths of one entry give the same text.
using EntryFunction = std::function<QString(const QString& path)>;

// The search run as described, pair by pair: every pair's rows appended to a results list
// (earlier path unticked, later path ticked), each row with the pair's other path and
// reason, then every row that has a repeat further down removed, and last the tick taken
// from every row whose path was never in a pair with a path of another entry (without
// `entryOf`, each text is an entry). Quadratic in the list and in the rows; only for
// small lists.
std::vector<ResultRow> findDuplicates(const QStringList& fileList, const SearchOptions& options,
                                      PathStyle style, const RatioFunction& ratio,
                                      const EntryFunction& entryOf = {});

// The name-key pair test, literally, with 1-based positions.
bool MatchByOptions(const QString& a, const QString& b, const SearchOptions& options,
                    PathStyle style);
// The same test, giving the first stage whose comparison found the keys equal.
MatchStage FirstMatchingStage(const QString& a, const QString& b, const SearchOptions& options,
                              PathStyle style);

} // namespace velmora::reference
