#include "FinalRows.h"

#include <algorithm>
#include <cstdint>

namespace velmora {

namespace {

// (first position, second position, ticked) packed so that integer order is row order.
std::uint64_t rowKey(int first, int second, bool ticked) {
    return (static_cast<std::uint64_t>(first) << 32) | (static_cast<std::uint64_t>(second) << 1) |
           (ticked ? 1u : 0u);
}

constexpr std::uint64_t noRow = ~std::uint64_t{0};

} // namespace

PairFacts::PairFacts(int count)
    : later_(static_cast<size_t>(count), -1), earlier_(static_cast<size_t>(count), -1) {}

void PairFacts::noteLaterMatch(int position, int later) {
    int& held = later_[static_cast<size_t>(position)];
    held = std::max(held, later);
}

void PairFacts::noteEarlierMatch(int position, int earlier) {
    int& held = earlier_[static_cast<size_t>(position)];
    held = std::max(held, earlier);
}

std::vector<FinalRow> PairFacts::finalRowPositions(const KeyGroups& pathGroups) const {
    std::vector<std::uint64_t> lastRowOfGroup(static_cast<size_t>(pathGroups.groupCount), noRow);
    for (size_t position = 0; position < later_.size(); ++position) {
        const int k = static_cast<int>(position);
        std::uint64_t key = noRow;
        if (later_[position] >= 0)
            key = rowKey(k, later_[position], false);
        else if (earlier_[position] >= 0)
            key = rowKey(earlier_[position], k, true);
        if (key == noRow)
            continue;
        std::uint64_t& held = lastRowOfGroup[static_cast<size_t>(pathGroups.groupOf[position])];
        if (held == noRow || key > held)
            held = key;
    }
    std::vector<std::uint64_t> keys;
    for (const std::uint64_t key : lastRowOfGroup)
        if (key != noRow)
            keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    std::vector<FinalRow> rows;
    rows.reserve(keys.size());
    for (const std::uint64_t key : keys) {
        const bool ticked = (key & 1u) != 0;
        const int first = static_cast<int>(key >> 32);
        const int second = static_cast<int>((key >> 1) & 0x7fffffffu);
        rows.push_back(ticked ? FinalRow{second, first, true} : FinalRow{first, second, false});
    }
    return rows;
}

std::vector<ResultRow> resultRowsAt(const std::vector<FinalRow>& positions,
                                    const QStringList& paths) {
    std::vector<ResultRow> rows;
    rows.reserve(positions.size());
    for (const FinalRow& row : positions)
        rows.push_back({paths[row.position], row.ticked, paths[row.partner]});
    return rows;
}

} // namespace velmora
