#pragma once

#include "ContentFacts.h"
#include "DuplicateSearch.h"

#include <QString>

namespace velmora {

// Why a row is among the results, in words: "Same path", "Same file name", "Names 78 %
// alike" in similarity mode; the first equal stage in option mode, naming the run's own
// before- and after-texts. Empty for a row without a partner.
QString matchReasonText(const ResultRow& row, const SearchOptions& options, PathStyle style);

// The row's tooltip: its full path, "Matched: " and the partner, and the reason; then the
// size and modification time of both files as they are now, and whether their contents
// are the same once the contents check has said (`contents` null until then).
QString resultRowToolTip(const ResultRow& row, const SearchOptions& options, PathStyle style,
                         const ContentFact* contents = nullptr);

// "Same contents", "Contents differ", or "Contents not compared: " and the reason.
QString contentFactText(const ContentFact& fact);

} // namespace velmora
