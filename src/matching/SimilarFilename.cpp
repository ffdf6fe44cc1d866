#include "SimilarFilename.h"

#include <QChar>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora {

namespace {

struct Block {
    int first = 0;  // start in the first sequence
    int second = 0; // start in the second sequence
    int length = 0;
};

struct Range {
    int firstBegin, firstEnd, secondBegin, secondEnd; // half-open
};

// One row of runs: row[c] is the run of equal codes starting at `code` and codes[c], one
// longer than below[c + 1] where they are equal, else 0; below[width] is 0. Returns the
// longest run of the row.
using RowOfRuns = int (*)(const char16_t* codes, const std::uint16_t* below, std::uint16_t* row,
                          int width, char16_t code);

int rowOfRunsPlain(const char16_t* codes, const std::uint16_t* below, std::uint16_t* row, int width,
                   char16_t code) {
    int longest = 0;
    for (int column = 0; column < width; ++column) {
        const int run = codes[column] == code ? below[column + 1] + 1 : 0;
        row[column] = static_cast<std::uint16_t>(run);
        longest = std::max(longest, run);
    }
    return longest;
}

#if defined(__x86_64__)
// The same with eight or sixteen columns at once. A row depends only on the one below, so
// the last columns are worked out again with some before them rather than one by one.
__attribute__((target("sse2"))) int rowOfRunsSse2(const char16_t* codes, const std::uint16_t* below,
                                                  std::uint16_t* row, int width, char16_t code) {
    if (width < 8)
        return rowOfRunsPlain(codes, below, row, width, code);
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(code));
    const __m128i one = _mm_set1_epi16(1);
    __m128i longest = _mm_setzero_si128();
    for (int column = 0;; column += 8) {
        const int first = std::min(column, width - 8);
        const __m128i equal = _mm_cmpeq_epi16(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(codes + first)), wanted);
        const __m128i longer = _mm_add_epi16(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + first + 1)), one);
        const __m128i run = _mm_and_si128(equal, longer);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + first), run);
        longest = _mm_max_epi16(longest, run);
        if (first + 8 >= width)
            break;
    }
    longest = _mm_max_epi16(longest, _mm_srli_si128(longest, 8));
    longest = _mm_max_epi16(longest, _mm_srli_si128(longest, 4));
    longest = _mm_max_epi16(longest, _mm_srli_si128(longest, 2));
    return _mm_extract_epi16(longest, 0);
}

__attribute__((target("avx2"))) int rowOfRunsAvx2(const char16_t* codes, const std::uint16_t* below,
                                                  std::uint16_t* row, int width, char16_t code) {
    if (width < 16)
        return rowOfRunsSse2(codes, below, row, width, code);
    const __m256i wanted = _mm256_set1_epi16(static_cast<short>(code));
    const __m256i one = _mm256_set1_epi16(1);
    __m256i longest = _mm256_setzero_si256();
    for (int column = 0;; column += 16) {
        const int first = std::min(column, width - 16);
        const __m256i equal = _mm256_cmpeq_epi16(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(codes + first)), wanted);
        const __m256i longer = _mm256_add_epi16(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(below + first + 1)), one);
        const __m256i run = _mm256_and_si256(equal, longer);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + first), run);
        longest = _mm256_max_epi16(longest, run);
        if (first + 16 >= width)
            break;
    }
    __m128i half =
        _mm_max_epi16(_mm256_castsi256_si128(longest), _mm256_extracti128_si256(longest, 1));
    half = _mm_max_epi16(half, _mm_srli_si128(half, 8));
    half = _mm_max_epi16(half, _mm_srli_si128(half, 4));
    half = _mm_max_epi16(half, _mm_srli_si128(half, 2));
    return _mm_extract_epi16(half, 0);
}
#endif

// The widest form the processor runs; every form gives the same rows.
RowOfRuns widestRowOfRuns() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return rowOfRunsAvx2;
    return rowOfRunsSse2;
#else
    return rowOfRunsPlain;
#endif
}

// Longest common block of two ranges by the run length starting at each pair of
// positions, computed backwards one row at a time. Rows are visited from the last to the
// first, so a block of equal length in an earlier row replaces the one held; within a
// row the first position of the row's longest run wins. The ranges are short on one side
// (see shortestRangeForAutomaton), so runs fit in 16 bits.
// A block of `enough` characters ends the search early: the count only needs to know that
// the longest is at least that long, and the block it returns is then not the longest.
Block longestCommonBlock(std::u16string_view a, std::u16string_view b, const Range& range,
                         std::vector<std::uint16_t>& runs, int enough) {
    static const RowOfRuns rowOfRuns = widestRowOfRuns();
    const int width = range.secondEnd - range.secondBegin;
    // Two rows side by side: the one below (the runs starting one step later) and the one
    // being made, each with a last entry that stays 0.
    const size_t stride = static_cast<size_t>(width) + 1;
    runs.assign(2 * stride, 0);
    std::uint16_t* below = runs.data();
    std::uint16_t* row = runs.data() + stride;
    const char16_t* codes = b.data() + range.secondBegin;
    Block best;
    for (int i = range.firstEnd - 1; i >= range.firstBegin; --i) {
        const int bestInRow = rowOfRuns(codes, below, row, width, a[static_cast<size_t>(i)]);
        if (bestInRow > 0 && bestInRow >= best.length) {
            const int bestColumn = static_cast<int>(std::find(row, row + width, bestInRow) - row);
            best = {i, range.secondBegin + bestColumn, bestInRow};
            if (best.length >= enough)
                break;
        }
        std::swap(below, row);
    }
    return best;
}

// The same block for long ranges, in time near their total length rather than their
// product: a suffix automaton of the second range, walked with the first. After each
// position of the first range the walk holds the longest block ending there; the first
// position where it grows past the best so far gives the smallest start in the first
// range, and the state's earliest end the smallest start in the second.
class SuffixAutomaton {
public:
    Block longestCommonBlock(std::u16string_view a, std::u16string_view b, const Range& range,
                             int enough) {
        build(b.substr(static_cast<size_t>(range.secondBegin),
                       static_cast<size_t>(range.secondEnd - range.secondBegin)));
        Block best;
        int state = 0;
        int length = 0;
        for (int i = range.firstBegin; i < range.firstEnd; ++i) {
            const char16_t code = a[static_cast<size_t>(i)];
            int edge = edgeOf(state, code);
            while (edge < 0 && state != 0) {
                state = states_[static_cast<size_t>(state)].link;
                length = states_[static_cast<size_t>(state)].length;
                edge = edgeOf(state, code);
            }
            if (edge < 0) {
                length = 0;
                continue;
            }
            state = edges_[static_cast<size_t>(edge)].target;
            ++length;
            if (length > best.length)
                best = {i - length + 1,
                        range.secondBegin + states_[static_cast<size_t>(state)].firstEnd - length +
                            1,
                        length};
            if (best.length >= enough)
                break;
        }
        return best;
    }

private:
    struct State {
        int length;
        int link;
        int firstEnd; // the earliest end, in the text, of the strings the state stands for
        int firstEdge;
    };
    struct Edge {
        char16_t code;
        int target;
        int next;
    };

    int edgeOf(int state, char16_t code) const {
        for (int edge = states_[static_cast<size_t>(state)].firstEdge; edge >= 0;
             edge = edges_[static_cast<size_t>(edge)].next)
            if (edges_[static_cast<size_t>(edge)].code == code)
                return edge;
        return -1;
    }

    void addEdge(int state, char16_t code, int target) {
        edges_.push_back({code, target, states_[static_cast<size_t>(state)].firstEdge});
        states_[static_cast<size_t>(state)].firstEdge = static_cast<int>(edges_.size()) - 1;
    }

    void build(std::u16string_view text) {
        states_.clear();
        edges_.clear();
        states_.reserve(2 * text.size() + 1);
        states_.push_back({0, -1, -1, -1});
        int last = 0;
        for (size_t position = 0; position < text.size(); ++position) {
            const char16_t code = text[position];
            const int added = static_cast<int>(states_.size());
            states_.push_back(
                {states_[static_cast<size_t>(last)].length + 1, 0, static_cast<int>(position), -1});
            int state = last;
            while (state >= 0 && edgeOf(state, code) < 0) {
                addEdge(state, code, added);
                state = states_[static_cast<size_t>(state)].link;
            }
            if (state >= 0) {
                const int next = edges_[static_cast<size_t>(edgeOf(state, code))].target;
                if (states_[static_cast<size_t>(state)].length + 1 ==
                    states_[static_cast<size_t>(next)].length) {
                    states_[static_cast<size_t>(added)].link = next;
                } else {
                    const int copy = static_cast<int>(states_.size());
                    states_.push_back({states_[static_cast<size_t>(state)].length + 1,
                                       states_[static_cast<size_t>(next)].link,
                                       states_[static_cast<size_t>(next)].firstEnd, -1});
                    for (int edge = states_[static_cast<size_t>(next)].firstEdge; edge >= 0;
                         edge = edges_[static_cast<size_t>(edge)].next)
                        addEdge(copy, edges_[static_cast<size_t>(edge)].code,
                                edges_[static_cast<size_t>(edge)].target);
                    for (; state >= 0; state = states_[static_cast<size_t>(state)].link) {
                        const int edge = edgeOf(state, code);
                        if (edges_[static_cast<size_t>(edge)].target != next)
                            break;
                        edges_[static_cast<size_t>(edge)].target = copy;
                    }
                    states_[static_cast<size_t>(next)].link = copy;
                    states_[static_cast<size_t>(added)].link = copy;
                }
            }
            last = added;
        }
    }

    std::vector<State> states_;
    std::vector<Edge> edges_;
};

// Below this many positions on either side the plain search, which touches every pair of
// positions but does little for each, is the quicker.
constexpr int shortestRangeForAutomaton = 128;

constexpr int countAll = -1;

// Walks the blocks, adding up their lengths; with a `stopAt` other than countAll, only
// until the total reaches it or nothing is left that could still get it there.
// Once the blocks found reach `stopAt`, the count stops even inside a block search: the
// longest block of a range is at least as long as any found in it so far, and blocks only
// add to the total.
int countBlocks(std::u16string_view a, std::u16string_view b, int stopAt) {
    // Kept from call to call: most pairs are short, and allocations cost them more than
    // the count does.
    thread_local std::vector<std::uint16_t> runs;
    thread_local SuffixAutomaton automaton;
    thread_local std::vector<Range> pending;
    pending.assign(1, {0, static_cast<int>(a.size()), 0, static_cast<int>(b.size())});
    int total = 0;
    // The most the ranges still pending could add.
    int stillPossible = static_cast<int>(std::min(a.size(), b.size()));
    while (!pending.empty()) {
        if (stopAt != countAll && (total >= stopAt || total + stillPossible < stopAt))
            break;
        const Range range = pending.back();
        pending.pop_back();
        const int rangeMost =
            std::min(range.firstEnd - range.firstBegin, range.secondEnd - range.secondBegin);
        stillPossible -= rangeMost;
        if (rangeMost <= 0)
            continue;
        const int enough = stopAt == countAll ? rangeMost + 1 : stopAt - total;
        const Block block =
            std::min(range.firstEnd - range.firstBegin, range.secondEnd - range.secondBegin) >=
                    shortestRangeForAutomaton
                ? automaton.longestCommonBlock(a, b, range, enough)
                : longestCommonBlock(a, b, range, runs, enough);
        if (block.length == 0)
            continue;
        total += block.length;
        if (stopAt != countAll && total >= stopAt)
            break;
        const Range left{range.firstBegin, block.first, range.secondBegin, block.second};
        const Range right{block.first + block.length, range.firstEnd, block.second + block.length,
                          range.secondEnd};
        for (const Range& piece : {left, right}) {
            const int most =
                std::min(piece.firstEnd - piece.firstBegin, piece.secondEnd - piece.secondBegin);
            if (most > 0) {
                stillPossible += most;
                pending.push_back(piece);
            }
        }
    }
    return total;
}

} // namespace

std::u16string similarityCodes(QStringView name) {
    std::u16string codes;
    codes.reserve(static_cast<size_t>(name.size()));
    for (const QChar character : name)
        codes.push_back(character.toUpper().unicode());
    return codes;
}

int CountMatchingCharacters(std::u16string_view first, std::u16string_view second) {
    return countBlocks(first, second, countAll);
}

bool matchingCharactersReach(std::u16string_view first, std::u16string_view second, int needed) {
    return needed <= 0 || countBlocks(first, second, needed) >= needed;
}

double SimilarityRatio(const QString& first, const QString& second) {
    if (first.toUpper() == second.toUpper())
        return 1.0;
    if (first.isEmpty() || second.isEmpty())
        return 0.0;
    const int matched = CountMatchingCharacters(similarityCodes(first), similarityCodes(second));
    const double total = static_cast<double>(first.size() + second.size());
    return (static_cast<double>(matched) / total) * 2;
}

} // namespace velmora
