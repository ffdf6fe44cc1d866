#include "LongestCommonSubsequence.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora {

namespace {

using Masks = LongestCommonSubsequence::Masks;

// The positions below `count` of the word that holds positions `first` to `first + 63`.
constexpr std::uint64_t positionsBelow(int count, int first = 0) {
    const int inWord = count - first;
    return inWord >= 64 ? ~std::uint64_t{0} : inWord <= 0 ? 0 : (std::uint64_t{1} << inWord) - 1;
}

// How far a length can still grow is bounded by more than the characters to come. A
// common subsequence pairs the text read so far with some first part of the pattern and
// the `remaining` characters to come with the rest, which gives at most the length with
// that first part (the zeros of the row below where it ends) plus the smaller of
// `remaining` and the pattern positions after it. That is greatest where the part to
// come could take exactly the last `remaining` positions: so the zeros below
// `patternLength - remaining`, plus `remaining`, bound the final length.
constexpr int positionsStillCounted(int patternLength, int remaining) {
    return patternLength - remaining;
}

// Patterns of one or two words, the row held in registers. Every eighth character the
// length so far decides the answer where it can: it has reached `needed`, or the
// characters still to come cannot get it there. Always inlined, so that each form counts
// bits with the instruction its target allows.
template <int Words>
[[gnu::always_inline]] inline bool reachesInWords(const Masks& pattern, std::u16string_view text,
                                                  int needed) {
    static_assert(Words == 1 || Words == 2);
    const int unusedHigh = Words * 64 - pattern.patternLength;
    const std::uint64_t lowValid = Words == 1 ? ~std::uint64_t{0} >> unusedHigh : ~std::uint64_t{0};
    const std::uint64_t highValid = Words == 2 ? ~std::uint64_t{0} >> unusedHigh : 0;
    std::uint64_t low = ~std::uint64_t{0};
    std::uint64_t high = ~std::uint64_t{0};
    auto matchedBelow = [&](int limit) {
        return std::popcount(~low & lowValid & positionsBelow(limit)) +
               (Words == 2 ? std::popcount(~high & highValid & positionsBelow(limit, 64)) : 0);
    };
    auto matched = [&] { return matchedBelow(Words * 64); };
    const int textLength = static_cast<int>(text.size());
    for (int at = 0; at < textLength; ++at) {
        const std::uint64_t* match =
            pattern.masks + size_t{pattern.slotOfCode[text[static_cast<size_t>(at)]]} * Words;
        const std::uint64_t keptLow = low & match[0];
        std::uint64_t sumLow = 0;
        const bool carry = __builtin_add_overflow(low, keptLow, &sumLow);
        if constexpr (Words == 2) {
            const std::uint64_t keptHigh = high & match[1];
            high = (high + keptHigh + (carry ? 1 : 0)) | (high - keptHigh);
        }
        low = sumLow | (low - keptLow);
        if ((at & 7) == 7) {
            if (matched() >= needed)
                return true;
            const int remaining = textLength - at - 1;
            if (matchedBelow(positionsStillCounted(pattern.patternLength, remaining)) + remaining <
                needed)
                return false;
        }
    }
    return matched() >= needed;
}

template <int Words> bool reachesPlain(const Masks& pattern, std::u16string_view text, int needed) {
    return reachesInWords<Words>(pattern, text, needed);
}

#if defined(__x86_64__)
template <int Words>
__attribute__((target("popcnt"))) bool reachesCounted(const Masks& pattern,
                                                      std::u16string_view text, int needed) {
    return reachesInWords<Words>(pattern, text, needed);
}
#endif

// One character of the text through a row of any number of words, the carry of each
// word's sum going on into the next.
[[gnu::always_inline]] inline void stepInWords(std::uint64_t* row, const std::uint64_t* match,
                                               size_t words) {
    std::uint64_t carry = 0;
    for (size_t word = 0; word < words; ++word) {
        const std::uint64_t held = row[word];
        const std::uint64_t kept = held & match[word];
        std::uint64_t partial = 0;
        std::uint64_t sum = 0;
        const bool overflowFirst = __builtin_add_overflow(held, kept, &partial);
        const bool overflowSecond = __builtin_add_overflow(partial, carry, &sum);
        carry = (overflowFirst || overflowSecond) ? 1 : 0;
        row[word] = sum | (held - kept);
    }
}

// As reachesInWords for patterns of more than two words, the row in `row`.
[[gnu::always_inline]] inline bool reachesInManyWords(const Masks& pattern, int words,
                                                      std::vector<std::uint64_t>& row,
                                                      std::u16string_view text, int needed) {
    const size_t wordCount = static_cast<size_t>(words);
    row.assign(wordCount, ~std::uint64_t{0});
    auto matchedBelow = [&](int limit) {
        int found = 0;
        for (size_t word = 0; word < wordCount; ++word)
            found +=
                std::popcount(~row[word] & positionsBelow(std::min(limit, pattern.patternLength),
                                                          static_cast<int>(word) * 64));
        return found;
    };
    const int textLength = static_cast<int>(text.size());
    for (int at = 0; at < textLength; ++at) {
        const std::uint64_t* match =
            pattern.masks + size_t{pattern.slotOfCode[text[static_cast<size_t>(at)]]} * wordCount;
        stepInWords(row.data(), match, wordCount);
        if ((at & 7) == 7) {
            if (matchedBelow(pattern.patternLength) >= needed)
                return true;
            const int remaining = textLength - at - 1;
            if (matchedBelow(positionsStillCounted(pattern.patternLength, remaining)) + remaining <
                needed)
                return false;
        }
    }
    return matchedBelow(pattern.patternLength) >= needed;
}

bool reachesInManyWordsPlain(const Masks& pattern, int words, std::vector<std::uint64_t>& row,
                             std::u16string_view text, int needed) {
    return reachesInManyWords(pattern, words, row, text, needed);
}

#if defined(__x86_64__)
__attribute__((target("popcnt"))) bool reachesInManyWordsCounted(const Masks& pattern, int words,
                                                                 std::vector<std::uint64_t>& row,
                                                                 std::u16string_view text,
                                                                 int needed) {
    return reachesInManyWords(pattern, words, row, text, needed);
}
#endif

bool processorCounts() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

} // namespace

LongestCommonSubsequence::LongestCommonSubsequence()
    : slotOfCode_(65536, 0), processorCounts_(processorCounts()) {}

bool LongestCommonSubsequence::reaches(std::u16string_view text, int needed) const {
    if (needed <= 0)
        return true;
    if (words_ == 0)
        return false;
    const Masks pattern{slotOfCode_.data(), masks_.data(), patternLength_};
    if (words_ > 2) {
#if defined(__x86_64__)
        if (processorCounts_)
            return reachesInManyWordsCounted(pattern, words_, row_, text, needed);
#endif
        return reachesInManyWordsPlain(pattern, words_, row_, text, needed);
    }
#if defined(__x86_64__)
    if (processorCounts_)
        return words_ == 1 ? reachesCounted<1>(pattern, text, needed)
                           : reachesCounted<2>(pattern, text, needed);
#endif
    return words_ == 1 ? reachesPlain<1>(pattern, text, needed)
                       : reachesPlain<2>(pattern, text, needed);
}

void LongestCommonSubsequence::setPattern(std::u16string_view pattern) {
    for (const char16_t code : patternCodes_)
        slotOfCode_[code] = 0;
    patternCodes_.clear();
    patternLength_ = static_cast<int>(pattern.size());
    words_ = (patternLength_ + 63) / 64;
    masks_.assign(static_cast<size_t>(words_), 0);
    for (int position = 0; position < patternLength_; ++position) {
        const char16_t code = pattern[static_cast<size_t>(position)];
        std::uint16_t slot = slotOfCode_[code];
        if (slot == 0) {
            patternCodes_.push_back(code);
            slot = static_cast<std::uint16_t>(patternCodes_.size());
            slotOfCode_[code] = slot;
            masks_.resize(masks_.size() + static_cast<size_t>(words_), 0);
        }
        masks_[static_cast<size_t>(slot) * static_cast<size_t>(words_) +
               static_cast<size_t>(position / 64)] |= std::uint64_t{1} << (position % 64);
    }
}

int LongestCommonSubsequence::lengthWith(std::u16string_view text) const {
    if (patternLength_ == 0 || text.empty())
        return 0;
    const size_t words = static_cast<size_t>(words_);
    if (words == 1) {
        std::uint64_t row = ~std::uint64_t{0};
        for (const char16_t code : text) {
            const std::uint64_t match = masks_[slotOfCode_[code]];
            const std::uint64_t kept = row & match;
            row = (row + kept) | (row - kept);
        }
        const int unused = 64 - patternLength_;
        return std::popcount(~row << unused);
    }
    row_.assign(words, ~std::uint64_t{0});
    for (const char16_t code : text) {
        stepInWords(row_.data(), &masks_[slotOfCode_[code] * words], words);
    }
    int length = 0;
    for (size_t word = 0; word < words; ++word) {
        std::uint64_t zeros = ~row_[word];
        const int bitsInWord = word + 1 < words ? 64 : patternLength_ - static_cast<int>(word) * 64;
        if (bitsInWord < 64)
            zeros &= (std::uint64_t{1} << bitsInWord) - 1;
        length += std::popcount(zeros);
    }
    return length;
}

namespace {

constexpr int laneCount = LongestCommonSubsequenceBlocks::lanes;

using Form = LongestCommonSubsequenceBlocks::Form;

// Whether a block of names of this length has its masks packed, the last word of each
// lane 32 bits (see ShortLanes and OneAndHalfLanes): in the form that counts the bits of
// vector lanes itself, where the name leaves room in its last word.
bool packedIn(Form form, int nameLength) {
    return form == Form::Avx512WithBitCount &&
           (nameLength <= 32 || (nameLength > 64 && nameLength <= 64 + 32));
}

// One block against up to `textsAtOnce` texts of one length.
struct LaneRun {
    // `laneCount` masks per class, two rows of them per class for names of two words, or
    // for packed blocks as their lanes' layout says (see packedIn).
    const std::uint64_t* rows;
    const std::uint8_t* const* texts;
    int textCount;
    int textLength;
    int nameLength; // of the block's names
    int needed;
    // The characters all the texts begin with: their lanes are the same until then, so
    // the widest form works out the first text's alone and copies them.
    int sharedStart = 0;

    // The positions of the low and the high word whose matches can still count towards a
    // final length with `remaining` characters to come; all the names fill with none.
    std::uint64_t countedLow(int remaining) const {
        return positionsBelow(positionsStillCounted(nameLength, remaining));
    }
    std::uint64_t countedHigh(int remaining) const {
        return positionsBelow(positionsStillCounted(nameLength, remaining), 64);
    }
};

using Reaching = LongestCommonSubsequenceBlocks::Reaching;

using Row = std::uint64_t[laneCount];

// Always inlined, so that the vector forms count bits with their own instructions.
[[gnu::always_inline]] inline unsigned lanesWithin(const Row& row, const LaneRun& run,
                                                   int remaining) {
    const std::uint64_t counted = run.countedLow(remaining);
    unsigned reaching = 0;
    for (int lane = 0; lane < laneCount; ++lane)
        if (std::popcount(~row[lane] & counted) + remaining >= run.needed)
            reaching |= 1u << lane;
    return reaching;
}

// Until this many characters remain, every lane could still reach the needed length;
// after it the lanes are looked at every eighth character, and the run stops when none
// can get there any more: each character still to come adds at most one.
bool timeToLook(const LaneRun& run, int at) {
    return at >= run.textLength - run.needed && (at & 7) == 7;
}

Reaching lanesReachingPlain(const LaneRun& run) {
    Reaching result;
    for (int text = 0; text < run.textCount; ++text) {
        Row row;
        for (std::uint64_t& word : row)
            word = ~std::uint64_t{0};
        bool stopped = false;
        for (int at = 0; at < run.textLength && !stopped; ++at) {
            const std::uint64_t* masks = run.rows + size_t{run.texts[text][at]} * laneCount;
            for (int lane = 0; lane < laneCount; ++lane) {
                const std::uint64_t kept = row[lane] & masks[lane];
                row[lane] = (row[lane] + kept) | (row[lane] - kept);
            }
            stopped = timeToLook(run, at) && lanesWithin(row, run, run.textLength - at - 1) == 0;
        }
        result.reaching[text] = stopped ? 0 : lanesWithin(row, run, 0);
    }
    return result;
}

// Names of two words: the low words in `low`, the high ones in `high`. Always inlined,
// so that the form built for a processor with its own bit count uses it.
[[gnu::always_inline]] inline unsigned lanesWithin(const Row& low, const Row& high,
                                                   const LaneRun& run, int remaining) {
    const std::uint64_t countedLow = run.countedLow(remaining);
    const std::uint64_t countedHigh = run.countedHigh(remaining);
    unsigned reaching = 0;
    for (int lane = 0; lane < laneCount; ++lane)
        if (std::popcount(~low[lane] & countedLow) + std::popcount(~high[lane] & countedHigh) +
                remaining >=
            run.needed)
            reaching |= 1u << lane;
    return reaching;
}

[[gnu::always_inline]] inline Reaching lanesReachingTwoWords(const LaneRun& run) {
    Reaching result;
    for (int text = 0; text < run.textCount; ++text) {
        Row low;
        Row high;
        for (int lane = 0; lane < laneCount; ++lane)
            low[lane] = high[lane] = ~std::uint64_t{0};
        bool stopped = false;
        for (int at = 0; at < run.textLength && !stopped; ++at) {
            const std::uint64_t* masks = run.rows + size_t{run.texts[text][at]} * 2 * laneCount;
            for (int lane = 0; lane < laneCount; ++lane) {
                const std::uint64_t keptLow = low[lane] & masks[lane];
                const std::uint64_t keptHigh = high[lane] & masks[laneCount + lane];
                const std::uint64_t sumLow = low[lane] + keptLow;
                const std::uint64_t carry = sumLow < low[lane] ? 1 : 0;
                high[lane] = (high[lane] + keptHigh + carry) | (high[lane] - keptHigh);
                low[lane] = sumLow | (low[lane] - keptLow);
            }
            stopped =
                timeToLook(run, at) && lanesWithin(low, high, run, run.textLength - at - 1) == 0;
        }
        result.reaching[text] = stopped ? 0 : lanesWithin(low, high, run, 0);
    }
    return result;
}

Reaching lanesReachingTwoWordsPlain(const LaneRun& run) {
    return lanesReachingTwoWords(run);
}

#if defined(__x86_64__)
__attribute__((target("avx2,popcnt"))) unsigned lanesWithin(__m256i first, __m256i second,
                                                            __m256i third, __m256i fourth,
                                                            const LaneRun& run, int remaining) {
    Row row;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row), first);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4), second);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 8), third);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 12), fourth);
    return lanesWithin(row, run, remaining);
}

// Four registers of four lanes per text; with two texts, eight chains of dependent steps
// run side by side. The results go to reaching[0] and on.
template <int Texts>
__attribute__((target("avx2,popcnt"))) void lanesReachingAvx2(const LaneRun& run,
                                                              unsigned* reaching) {
    constexpr int registers = 4 * Texts;
    __m256i lanes[registers];
    for (__m256i& lane : lanes)
        lane = _mm256_set1_epi64x(-1);
    for (int at = 0; at < run.textLength; ++at) {
#pragma GCC unroll 8
        for (int part = 0; part < registers; ++part) {
            const __m256i match = _mm256_load_si256(reinterpret_cast<const __m256i*>(
                run.rows + size_t{run.texts[part / 4][at]} * laneCount + 4 * (part % 4)));
            const __m256i kept = _mm256_and_si256(lanes[part], match);
            lanes[part] = _mm256_or_si256(_mm256_add_epi64(lanes[part], kept),
                                          _mm256_andnot_si256(match, lanes[part]));
        }
        if (timeToLook(run, at)) {
            unsigned any = 0;
#pragma GCC unroll 2
            for (int text = 0; text < Texts; ++text)
                any |= lanesWithin(lanes[4 * text], lanes[4 * text + 1], lanes[4 * text + 2],
                                   lanes[4 * text + 3], run, run.textLength - at - 1);
            if (any == 0) {
                for (int text = 0; text < Texts; ++text)
                    reaching[text] = 0;
                return;
            }
        }
    }
#pragma GCC unroll 2
    for (int text = 0; text < Texts; ++text)
        reaching[text] = lanesWithin(lanes[4 * text], lanes[4 * text + 1], lanes[4 * text + 2],
                                     lanes[4 * text + 3], run, 0);
}

Reaching lanesReachingAvx2(const LaneRun& run) {
    Reaching result;
    for (int first = 0; first < run.textCount; first += 2) {
        LaneRun part = run;
        part.texts += first;
        if (first + 1 < run.textCount)
            lanesReachingAvx2<2>(part, result.reaching + first);
        else
            lanesReachingAvx2<1>(part, result.reaching + first);
    }
    return result;
}

__attribute__((target("avx2,popcnt"))) Reaching lanesReachingTwoWordsAvx2(const LaneRun& run) {
    return lanesReachingTwoWords(run);
}

// Bits set in each 64-bit lane, by looking up each half-byte.
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) __m512i
lanePopulations(__m512i words) {
    const __m512i halfByteCounts =
        _mm512_set4_epi32(0x04030302, 0x03020201, 0x03020201, 0x02010100);
    const __m512i lowHalves = _mm512_set1_epi8(0x0f);
    const __m512i counts = _mm512_add_epi8(
        _mm512_shuffle_epi8(halfByteCounts, _mm512_and_si512(words, lowHalves)),
        _mm512_shuffle_epi8(halfByteCounts, _mm512_and_si512(words >> 4, lowHalves)));
    return _mm512_sad_epu8(counts, _mm512_setzero_si512());
}

// Bits set in each 64-bit or 32-bit lane by the processor's own count, written out because
// the target of the functions that use it cannot depend on a template argument; the forms
// that use it run only where the processor has it.
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) __m512i
ownPopulations64(__m512i words) {
    __m512i population;
    asm("vpopcntq %1, %0" : "=v"(population) : "v"(words));
    return population;
}

[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) __m512i
ownPopulations32(__m512i words) {
    __m512i population;
    asm("vpopcntd %1, %0" : "=v"(population) : "v"(words));
    return population;
}

// The zeros of each lane among the positions set in `counted`.
template <bool OwnBitCount>
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) __m512i
zerosIn(__m512i lanes, __m512i counted) {
    const __m512i zeros = counted & ~lanes;
    if constexpr (OwnBitCount)
        return ownPopulations64(zeros);
    else
        return lanePopulations(zeros);
}

// The lanes of a register whose matched length in the counted positions plus `remaining`
// reaches the needed length.
template <bool OwnBitCount>
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) unsigned
lanesWithin(__m512i lanes, std::uint64_t counted, int remaining, int needed) {
    const __m512i matched =
        zerosIn<OwnBitCount>(lanes, _mm512_set1_epi64(static_cast<long long>(counted)));
    return _mm512_cmpge_epi64_mask(matched, _mm512_set1_epi64(needed - remaining));
}

// The same for names of two words, their low words in `low` and their high ones in `high`.
template <bool OwnBitCount>
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) unsigned
lanesWithin(__m512i low, __m512i high, const LaneRun& run, int remaining, int needed) {
    const __m512i countedLow = _mm512_set1_epi64(static_cast<long long>(run.countedLow(remaining)));
    const __m512i countedHigh =
        _mm512_set1_epi64(static_cast<long long>(run.countedHigh(remaining)));
    const __m512i matched = _mm512_add_epi64(zerosIn<OwnBitCount>(low, countedLow),
                                             zerosIn<OwnBitCount>(high, countedHigh));
    return _mm512_cmpge_epi64_mask(matched, _mm512_set1_epi64(needed - remaining));
}

// One character through eight lanes of one word, their masks at `masks`. The last two
// operations of the plain step are one here: (row + kept) | (row & ~match).
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) void
stepOneWordAvx512(__m512i& lanes, const std::uint64_t* masks) {
    const __m512i match = _mm512_load_si512(masks);
    const __m512i sum = _mm512_add_epi64(lanes, _mm512_and_si512(lanes, match));
    lanes = _mm512_ternarylogic_epi64(lanes, match, sum, 0xba);
}

// The same for eight lanes of two words: where a low word's sum wraps, one more goes into
// its high word. The high words' masks are a row of lanes after the low ones'.
[[gnu::always_inline]] inline __attribute__((target("avx512f,avx512bw"))) void
stepTwoWordsAvx512(__m512i& low, __m512i& high, const std::uint64_t* masks) {
    const __m512i matchLow = _mm512_load_si512(masks);
    const __m512i matchHigh = _mm512_load_si512(masks + laneCount);
    const __m512i sumLow = _mm512_add_epi64(low, _mm512_and_si512(low, matchLow));
    const __mmask8 carry = _mm512_cmplt_epu64_mask(sumLow, low);
    __m512i sumHigh = _mm512_add_epi64(high, _mm512_and_si512(high, matchHigh));
    sumHigh = _mm512_mask_add_epi64(sumHigh, carry, sumHigh, _mm512_set1_epi64(1));
    low = _mm512_ternarylogic_epi64(low, matchLow, sumLow, 0xba);
    high = _mm512_ternarylogic_epi64(high, matchHigh, sumHigh, 0xba);
}

// Names of two words: per text, the low words of the sixteen lanes in two registers and
// the high words in two more. Where a low word's sum wraps, one more goes into its high
// word.
template <int Texts, bool OwnBitCount>
__attribute__((target("avx512f,avx512bw"))) Reaching
lanesReachingTwoWordsAvx512(const LaneRun& run) {
    static_assert(laneCount == 16);
    constexpr int registers = 2 * Texts;
    __m512i low[registers];
    __m512i high[registers];
    for (int part = 0; part < registers; ++part)
        low[part] = high[part] = _mm512_set1_epi64(-1);
    const std::uint8_t* const* texts = run.texts;
    int at = 0;
    for (; at < run.sharedStart; ++at) {
        const std::uint64_t* masks = run.rows + size_t{texts[0][at]} * 2 * laneCount;
        stepTwoWordsAvx512(low[0], high[0], masks);
        stepTwoWordsAvx512(low[1], high[1], masks + 8);
        if (timeToLook(run, at)) {
            const int remaining = run.textLength - at - 1;
            if ((lanesWithin<OwnBitCount>(low[0], high[0], run, remaining, run.needed) |
                 lanesWithin<OwnBitCount>(low[1], high[1], run, remaining, run.needed)) == 0)
                return {};
        }
    }
#pragma GCC unroll 8
    for (int part = 2; part < registers; ++part) {
        low[part] = low[part % 2];
        high[part] = high[part % 2];
    }
    for (; at < run.textLength; ++at) {
#pragma GCC unroll 8
        for (int part = 0; part < registers; ++part)
            stepTwoWordsAvx512(low[part], high[part],
                               run.rows + size_t{texts[part / 2][at]} * 2 * laneCount +
                                   8 * (part % 2));
        if (timeToLook(run, at)) {
            const int remaining = run.textLength - at - 1;
            unsigned any = 0;
            for (int part = 0; part < registers; ++part)
                any |= lanesWithin<OwnBitCount>(low[part], high[part], run, remaining, run.needed);
            if (any == 0)
                return {};
        }
    }
    Reaching result;
    for (int text = 0; text < Texts; ++text)
        result.reaching[text] =
            lanesWithin<OwnBitCount>(low[2 * text], high[2 * text], run, 0, run.needed) |
            lanesWithin<OwnBitCount>(low[2 * text + 1], high[2 * text + 1], run, 0, run.needed)
                << 8;
    return result;
}

// Sixteen lanes in two registers per text; each step is a chain of three dependent
// operations, so several texts keep the processor busy where one would leave it waiting.
// Up to run.sharedStart the texts are the same, and only the first runs.
template <int Texts, bool OwnBitCount>
__attribute__((target("avx512f,avx512bw"))) Reaching lanesReachingAvx512(const LaneRun& run) {
    static_assert(laneCount == 16);
    constexpr int registers = 2 * Texts;
    __m512i lanes[registers];
    for (__m512i& lane : lanes)
        lane = _mm512_set1_epi64(-1);
    const std::uint8_t* const* texts = run.texts;
    int at = 0;
    for (; at < run.sharedStart; ++at) {
        const std::uint64_t* masks = run.rows + size_t{texts[0][at]} * laneCount;
        stepOneWordAvx512(lanes[0], masks);
        stepOneWordAvx512(lanes[1], masks + 8);
        if (timeToLook(run, at)) {
            const int remaining = run.textLength - at - 1;
            const std::uint64_t counted = run.countedLow(remaining);
            if ((lanesWithin<OwnBitCount>(lanes[0], counted, remaining, run.needed) |
                 lanesWithin<OwnBitCount>(lanes[1], counted, remaining, run.needed)) == 0)
                return {};
        }
    }
#pragma GCC unroll 8
    for (int part = 2; part < registers; ++part)
        lanes[part] = lanes[part % 2];
    for (; at < run.textLength; ++at) {
#pragma GCC unroll 8
        for (int part = 0; part < registers; ++part)
            stepOneWordAvx512(lanes[part],
                              run.rows + size_t{texts[part / 2][at]} * laneCount + 8 * (part % 2));
        if (timeToLook(run, at)) {
            const int remaining = run.textLength - at - 1;
            const std::uint64_t counted = run.countedLow(remaining);
            unsigned any = 0;
#pragma GCC unroll 8
            for (int part = 0; part < registers; ++part)
                any |= lanesWithin<OwnBitCount>(lanes[part], counted, remaining, run.needed);
            if (any == 0)
                return {};
        }
    }
    Reaching result;
#pragma GCC unroll 4
    for (int text = 0; text < Texts; ++text)
        result.reaching[text] =
            lanesWithin<OwnBitCount>(lanes[2 * text], run.countedLow(0), 0, run.needed) |
            lanesWithin<OwnBitCount>(lanes[2 * text + 1], run.countedLow(0), 0, run.needed) << 8;
    return result;
}

// The lanes of packed blocks, in the form with the processor's own bit count: the last
// word of each lane is 32 bits, so that a block's sixteen such words fill one register.
// Each layout holds one text's sixteen lanes; `row` is the length of a class's row of
// masks, in 64-bit words.

// Names of at most 32 characters: sixteen lanes of 32 bits, half the work of 64-bit ones.
// A class's row is sixteen 32-bit masks.
struct ShortLanes {
    static constexpr size_t row = laneCount / 2;
    __m512i lanes;

    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) void fill() {
        lanes = _mm512_set1_epi32(-1);
    }
    // As stepOneWordAvx512, in 32-bit lanes.
    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) void
    step(const std::uint64_t* masks) {
        const __m512i match = _mm512_load_si512(masks);
        const __m512i sum = _mm512_add_epi32(lanes, _mm512_and_si512(lanes, match));
        lanes = _mm512_ternarylogic_epi32(lanes, match, sum, 0xba);
    }
    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) unsigned
    within(const LaneRun& run, int remaining) const {
        const auto counted = static_cast<std::uint32_t>(run.countedLow(remaining));
        const __m512i zeros = _mm512_set1_epi32(static_cast<int>(counted)) & ~lanes;
        return _mm512_cmpge_epi32_mask(ownPopulations32(zeros),
                                       _mm512_set1_epi32(run.needed - remaining));
    }
};

// Names of 65 to 96 characters: the low words of the sixteen lanes in two registers of
// 64-bit lanes and their high words in one of 32-bit lanes, where the two registers'
// carries meet as one mask. A class's row is the sixteen low masks, then the sixteen high
// ones in half a row.
struct OneAndHalfLanes {
    static constexpr size_t row = laneCount + laneCount / 2;
    __m512i low0;
    __m512i low1;
    __m512i high;

    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) void fill() {
        low0 = low1 = high = _mm512_set1_epi32(-1);
    }
    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) void
    step(const std::uint64_t* masks) {
        const __m512i matchLow0 = _mm512_load_si512(masks);
        const __m512i matchLow1 = _mm512_load_si512(masks + 8);
        const __m512i matchHigh = _mm512_load_si512(masks + laneCount);
        const __m512i sumLow0 = _mm512_add_epi64(low0, _mm512_and_si512(low0, matchLow0));
        const __m512i sumLow1 = _mm512_add_epi64(low1, _mm512_and_si512(low1, matchLow1));
        const __mmask16 carry = _mm512_kunpackb(_mm512_cmplt_epu64_mask(sumLow1, low1),
                                                _mm512_cmplt_epu64_mask(sumLow0, low0));
        __m512i sumHigh = _mm512_add_epi32(high, _mm512_and_si512(high, matchHigh));
        sumHigh = _mm512_mask_add_epi32(sumHigh, carry, sumHigh, _mm512_set1_epi32(1));
        low0 = _mm512_ternarylogic_epi64(low0, matchLow0, sumLow0, 0xba);
        low1 = _mm512_ternarylogic_epi64(low1, matchLow1, sumLow1, 0xba);
        high = _mm512_ternarylogic_epi32(high, matchHigh, sumHigh, 0xba);
    }
    // The low words' counts fit in the low halves of their 64-bit lanes: those are taken,
    // in lane order, and added to the high words'.
    [[gnu::always_inline]] __attribute__((target("avx512f,avx512bw"))) unsigned
    within(const LaneRun& run, int remaining) const {
        const __m512i countedLow =
            _mm512_set1_epi64(static_cast<long long>(run.countedLow(remaining)));
        const auto countedHigh = static_cast<std::uint32_t>(run.countedHigh(remaining));
        const __m512i lowHalves =
            _mm512_set_epi32(30, 28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 0);
        const __m512i populationLow = _mm512_permutex2var_epi32(
            zerosIn<true>(low0, countedLow), lowHalves, zerosIn<true>(low1, countedLow));
        const __m512i populationHigh =
            ownPopulations32(_mm512_set1_epi32(static_cast<int>(countedHigh)) & ~high);
        return _mm512_cmpge_epi32_mask(_mm512_add_epi32(populationLow, populationHigh),
                                       _mm512_set1_epi32(run.needed - remaining));
    }
};

// A packed block against `Texts` texts, as lanesReachingAvx512.
template <typename Lanes, int Texts>
__attribute__((target("avx512f,avx512bw"))) Reaching lanesReachingPackedAvx512(const LaneRun& run) {
    static_assert(laneCount == 16);
    Lanes lanes[Texts];
    for (Lanes& text : lanes)
        text.fill();
    const std::uint8_t* const* texts = run.texts;
    int at = 0;
    for (; at < run.sharedStart; ++at) {
        lanes[0].step(run.rows + size_t{texts[0][at]} * Lanes::row);
        if (timeToLook(run, at) && lanes[0].within(run, run.textLength - at - 1) == 0)
            return {};
    }
    for (int text = 1; text < Texts; ++text)
        lanes[text] = lanes[0];
    for (; at < run.textLength; ++at) {
#pragma GCC unroll 4
        for (int text = 0; text < Texts; ++text)
            lanes[text].step(run.rows + size_t{texts[text][at]} * Lanes::row);
        if (timeToLook(run, at)) {
            unsigned any = 0;
#pragma GCC unroll 4
            for (int text = 0; text < Texts; ++text)
                any |= lanes[text].within(run, run.textLength - at - 1);
            if (any == 0)
                return {};
        }
    }
    Reaching result;
    for (int text = 0; text < Texts; ++text)
        result.reaching[text] = lanes[text].within(run, 0);
    return result;
}
#endif

// One build runs on every x86-64: the vector form is chosen by what the processor has.
// Sixteen-byte registers would gain little over the plain form.

bool processorRuns(Form form) {
#if defined(__x86_64__)
    __builtin_cpu_init();
    switch (form) {
    case Form::Plain:
        return true;
    case Form::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    case Form::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    case Form::Avx512WithBitCount:
        return processorRuns(Form::Avx512) && __builtin_cpu_supports("avx512vpopcntdq");
    }
    return false;
#else
    return form == Form::Plain;
#endif
}

Form widestForm() {
    for (const Form form : {Form::Avx512WithBitCount, Form::Avx512, Form::Avx2})
        if (processorRuns(form))
            return form;
    return Form::Plain;
}

#if defined(__x86_64__)
// Calls kernel(std::integral_constant<int, N>()) for the N texts of a run, one to four.
template <typename Kernel> Reaching forTextCount(int count, Kernel kernel) {
    switch (count) {
    case 1:
        return kernel(std::integral_constant<int, 1>());
    case 2:
        return kernel(std::integral_constant<int, 2>());
    case 3:
        return kernel(std::integral_constant<int, 3>());
    default:
        return kernel(std::integral_constant<int, 4>());
    }
}

template <bool OwnBitCount> Reaching lanesReachingTwoWordsAvx512(const LaneRun& run) {
    return forTextCount(run.textCount, [&](auto texts) {
        return lanesReachingTwoWordsAvx512<texts(), OwnBitCount>(run);
    });
}

template <bool OwnBitCount> Reaching lanesReachingAvx512(const LaneRun& run) {
    return forTextCount(run.textCount,
                        [&](auto texts) { return lanesReachingAvx512<texts(), OwnBitCount>(run); });
}

template <typename Lanes> Reaching lanesReachingPackedAvx512(const LaneRun& run) {
    return forTextCount(run.textCount,
                        [&](auto texts) { return lanesReachingPackedAvx512<Lanes, texts()>(run); });
}
#endif

Reaching lanesReachingTwoWordsIn(Form form, const LaneRun& run) {
#if defined(__x86_64__)
    switch (form) {
    case Form::Avx512WithBitCount:
        return packedIn(form, run.nameLength) ? lanesReachingPackedAvx512<OneAndHalfLanes>(run)
                                              : lanesReachingTwoWordsAvx512<true>(run);
    case Form::Avx512:
        return lanesReachingTwoWordsAvx512<false>(run);
    case Form::Avx2:
        return lanesReachingTwoWordsAvx2(run);
    case Form::Plain:
        break;
    }
#endif
    return lanesReachingTwoWordsPlain(run);
}

Reaching lanesReachingIn(Form form, const LaneRun& run) {
#if defined(__x86_64__)
    switch (form) {
    case Form::Avx512WithBitCount:
        return packedIn(form, run.nameLength) ? lanesReachingPackedAvx512<ShortLanes>(run)
                                              : lanesReachingAvx512<true>(run);
    case Form::Avx512:
        return lanesReachingAvx512<false>(run);
    case Form::Avx2:
        return lanesReachingAvx2(run);
    case Form::Plain:
        break;
    }
#endif
    return lanesReachingPlain(run);
}

// How many of the first `length` classes of two texts are the same, eight at a time; on a
// little-endian processor the lowest differing bit of eight tells which of them differs
// first.
int sharedBeginning(const std::uint8_t* first, const std::uint8_t* second, int length) {
    int at = 0;
    for (; at + 8 <= length; at += 8) {
        std::uint64_t firstEight = 0;
        std::uint64_t secondEight = 0;
        std::memcpy(&firstEight, first + at, 8);
        std::memcpy(&secondEight, second + at, 8);
        if (firstEight == secondEight)
            continue;
        if constexpr (std::endian::native == std::endian::little)
            return at + std::countr_zero(firstEight ^ secondEight) / 8;
        break;
    }
    while (at < length && first[at] == second[at])
        ++at;
    return at;
}

} // namespace

LongestCommonSubsequenceBlocks::LongestCommonSubsequenceBlocks()
    : classOfCode_(65536, 0), form_(widestForm()) {}

bool LongestCommonSubsequenceBlocks::useForm(Form form) {
    if (!processorRuns(form))
        return false;
    form_ = form;
    // The masks' layout may depend on the form: blocks make them again.
    for (const MaskRow*& rows : rows_) {
        delete[] rows;
        rows = nullptr;
    }
    return true;
}

void LongestCommonSubsequenceBlocks::chooseClasses(const std::vector<std::u16string_view>& names) {
    std::vector<long long> countOfCode(65536, 0);
    for (const std::u16string_view name : names)
        for (const char16_t code : name)
            ++countOfCode[code];
    std::vector<char16_t> common;
    for (int code = 0; code < 65536; ++code)
        if (countOfCode[static_cast<size_t>(code)] > 0)
            common.push_back(static_cast<char16_t>(code));
    const size_t ownClasses = std::min(common.size(), size_t{classes - 1});
    std::partial_sort(common.begin(), common.begin() + static_cast<std::ptrdiff_t>(ownClasses),
                      common.end(), [&](char16_t a, char16_t b) {
                          return countOfCode[a] != countOfCode[b] ? countOfCode[a] > countOfCode[b]
                                                                  : a < b;
                      });
    std::fill(classOfCode_.begin(), classOfCode_.end(), 0);
    for (size_t rank = 0; rank < ownClasses; ++rank)
        classOfCode_[common[rank]] = static_cast<std::uint8_t>(rank + 1);
}

void LongestCommonSubsequenceBlocks::setText(Text& text, std::u16string_view codes) const {
    text.length = static_cast<int>(codes.size());
    for (size_t position = 0; position < codes.size(); ++position)
        text.classOf[position] = classOfCode_[codes[position]];
}

int LongestCommonSubsequenceBlocks::addBlock(const std::vector<std::u16string_view>& names) {
    Block block;
    block.firstName = static_cast<std::uint32_t>(names_.size());
    block.laneCount = static_cast<std::uint8_t>(names.size());
    block.nameLength = static_cast<std::uint8_t>(names.empty() ? 0 : names.front().size());
    names_.insert(names_.end(), names.begin(), names.end());
    blocks_.push_back(block);
    rows_.push_back(nullptr);
    return static_cast<int>(blocks_.size()) - 1;
}

int LongestCommonSubsequenceBlocks::addSummaryBlock(int firstBlock, int count) {
    Block block;
    block.summaryOf = firstBlock;
    block.laneCount = static_cast<std::uint8_t>(count);
    block.nameLength = blocks_[static_cast<size_t>(firstBlock)].nameLength;
    blocks_.push_back(block);
    rows_.push_back(nullptr);
    return static_cast<int>(blocks_.size()) - 1;
}

const LongestCommonSubsequenceBlocks::MaskRow*
LongestCommonSubsequenceBlocks::rowsOf(int blockNumber) const {
    std::atomic_ref<const MaskRow*> shared(rows_[static_cast<size_t>(blockNumber)]);
    if (const MaskRow* made = shared.load(std::memory_order_acquire))
        return made;
    const Block& block = blocks_[static_cast<size_t>(blockNumber)];
    // Empty lanes match nothing; their lengths are never reported.
    const size_t words = static_cast<size_t>(block.words());
    const bool packed = packedIn(form_, block.nameLength);
    // Packed, a class's row is sixteen 32-bit masks, or sixteen 64-bit low words and then
    // sixteen 32-bit high ones: half a row or one and a half.
    MaskRow* rows = new MaskRow[packed ? classes * (2 * words - 1) / 2 : classes * words]{};
    // Packed masks are made in full first, then narrowed.
    std::uint64_t full[classes][2][lanes];
    if (packed)
        std::memset(full, 0, sizeof full);
    auto addName = [&](size_t lane, std::u16string_view name) {
        for (size_t position = 0; position < name.size(); ++position) {
            const std::uint8_t rowClass = classOfCode_[name[position]];
            const std::uint64_t bit = std::uint64_t{1} << (position % 64);
            if (packed)
                full[rowClass][position / 64][lane] |= bit;
            else
                rows[rowClass * words + position / 64].lane[lane] |= bit;
        }
    };
    for (size_t lane = 0; lane < block.laneCount; ++lane) {
        if (block.summaryOf < 0) {
            addName(lane, names_[block.firstName + lane]);
            continue;
        }
        const Block& member = blocks_[static_cast<size_t>(block.summaryOf) + lane];
        for (size_t name = 0; name < member.laneCount; ++name)
            addName(lane, names_[member.firstName + name]);
    }
    if (packed) {
        auto* out = reinterpret_cast<unsigned char*>(rows);
        for (size_t rowClass = 0; rowClass < classes; ++rowClass) {
            if (words == 2) {
                std::memcpy(out, full[rowClass][0], sizeof full[rowClass][0]);
                out += sizeof full[rowClass][0];
            }
            std::uint32_t narrow[lanes];
            for (size_t lane = 0; lane < lanes; ++lane)
                narrow[lane] = static_cast<std::uint32_t>(full[rowClass][words - 1][lane]);
            std::memcpy(out, narrow, sizeof narrow);
            out += sizeof narrow;
        }
    }
    const MaskRow* expected = nullptr;
    if (shared.compare_exchange_strong(expected, rows, std::memory_order_acq_rel))
        return rows;
    delete[] rows;
    return expected;
}

LongestCommonSubsequenceBlocks::~LongestCommonSubsequenceBlocks() {
    for (const MaskRow* rows : rows_)
        delete[] rows;
}

unsigned LongestCommonSubsequenceBlocks::lanesReaching(int blockNumber, const Text& text,
                                                       int needed) const {
    const std::uint8_t* const classes[] = {text.classOf};
    return runBlock(blockNumber, classes, 1, text.length, needed).reaching[0];
}

void LongestCommonSubsequenceBlocks::lanesReaching(int blockNumber, const Text* const* texts,
                                                   int count, int needed,
                                                   unsigned* reaching) const {
    const std::uint8_t* classes[textsAtOnce] = {};
    for (int text = 0; text < count; ++text)
        classes[text] = texts[text]->classOf;
    const Reaching result = runBlock(blockNumber, classes, count, texts[0]->length, needed);
    std::copy(result.reaching, result.reaching + count, reaching);
}

LongestCommonSubsequenceBlocks::Reaching
LongestCommonSubsequenceBlocks::runBlock(int blockNumber, const std::uint8_t* const* texts,
                                         int count, int textLength, int needed) const {
    const Block& block = blocks_[static_cast<size_t>(blockNumber)];
    LaneRun run{rowsOf(blockNumber)->lane, texts, count, textLength, block.nameLength, needed};
    // Only the widest forms take a shared beginning, and only several texts have one.
    // Working out a few characters alone costs more than it spares.
    constexpr int worthSharing = 8;
    if ((form_ == Form::Avx512 || form_ == Form::Avx512WithBitCount) && count > 1) {
        run.sharedStart = textLength;
        for (int text = 1; text < count && run.sharedStart >= worthSharing; ++text)
            run.sharedStart = sharedBeginning(texts[0], texts[text], run.sharedStart);
        if (run.sharedStart < worthSharing)
            run.sharedStart = 0;
    }
    Reaching result =
        block.words() == 2 ? lanesReachingTwoWordsIn(form_, run) : lanesReachingIn(form_, run);
    const unsigned laneMask = (1u << block.laneCount) - 1;
    for (unsigned& lanes : result.reaching)
        lanes &= laneMask;
    return result;
}

} // namespace velmora
