#pragma once

#include "DuplicateSearch.h"
#include "KeyGroups.h"

#include <QStringList>

#include <vector>

namespace velmora {

// A final row by positions (0-based): the row's own position, the other position of the
// pair whose row the clean-up kept, and the tick of that row.
struct FinalRow {
    int position = 0;
    int partner = 0;
    bool ticked = false;
};

// The pair stage writes, for each matching pair (i, j), the row of i unticked and then the
// row of j ticked; the clean-up keeps each distinct path's last row. Ordered by (i, j,
// side), the last row of a position k is (k, latest later match, unticked) when k matches
// anything further down, else (latest earlier match, k, ticked). So two facts per
// position decide the final rows, and no pair row need ever exist.
class PairFacts {
public:
    explicit PairFacts(int count);

    void noteLaterMatch(int position, int later);
    void noteEarlierMatch(int position, int earlier);
    int latestLaterMatch(int position) const { return later_[static_cast<size_t>(position)]; }

    // Positions are 0-based; pathGroups numbers equal paths alike. The rows come in result
    // order, each with its partner; the reason, and the tick of a path that matched only
    // itself, are left to the mode.
    std::vector<FinalRow> finalRowPositions(const KeyGroups& pathGroups) const;

private:
    std::vector<int> later_;   // -1: no later match
    std::vector<int> earlier_; // -1: no earlier match
};

// The rows at those positions, with path, tick and partner.
std::vector<ResultRow> resultRowsAt(const std::vector<FinalRow>& positions,
                                    const QStringList& paths);

} // namespace velmora
