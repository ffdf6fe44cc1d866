#include "LongestCommonSubsequence.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace velmora {

LongestCommonSubsequence::LongestCommonSubsequence() : slotOfCode_(65536, 0) {}

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
        const std::uint64_t* match = &masks_[slotOfCode_[code] * words];
        std::uint64_t carry = 0;
        for (size_t word = 0; word < words; ++word) {
            const std::uint64_t row = row_[word];
            const std::uint64_t kept = row & match[word];
            std::uint64_t partial = 0;
            std::uint64_t sum = 0;
            const bool overflowFirst = __builtin_add_overflow(row, kept, &partial);
            const bool overflowSecond = __builtin_add_overflow(partial, carry, &sum);
            carry = (overflowFirst || overflowSecond) ? 1 : 0;
            row_[word] = sum | (row - kept);
        }
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

struct LaneRun {
    const std::uint64_t* maskOfClass;
    const std::uint8_t* rows; // `laneCount` classes per text position
    int textLength;
    std::uint64_t inPattern;
    int needed;
};

// Whether any lane could still reach the needed length with `remaining` characters to
// come: each can add at most one.
bool anyLaneCanReach(const std::uint64_t (&row)[laneCount], const LaneRun& run, int remaining) {
    for (int lane = 0; lane < laneCount; ++lane)
        if (std::popcount(~row[lane] & run.inPattern) + remaining >= run.needed)
            return true;
    return false;
}

unsigned lanesAtLeast(const std::uint64_t (&row)[laneCount], const LaneRun& run) {
    unsigned reaching = 0;
    for (int lane = 0; lane < laneCount; ++lane)
        if (std::popcount(~row[lane] & run.inPattern) >= run.needed)
            reaching |= 1u << lane;
    return reaching;
}

// Until this many characters remain, every lane could still reach the needed length;
// after it the lanes are looked at every eighth character.
bool timeToLook(const LaneRun& run, int at) {
    return at >= run.textLength - run.needed && (at & 7) == 7;
}

unsigned lanesReachingPlain(const LaneRun& run) {
    std::uint64_t row[laneCount];
    for (std::uint64_t& word : row)
        word = ~std::uint64_t{0};
    for (int at = 0; at < run.textLength; ++at) {
        const std::uint8_t* classes = run.rows + static_cast<size_t>(at) * laneCount;
        for (int lane = 0; lane < laneCount; ++lane) {
            const std::uint64_t kept = row[lane] & run.maskOfClass[classes[lane]];
            row[lane] = (row[lane] + kept) | (row[lane] - kept);
        }
        if (timeToLook(run, at) && !anyLaneCanReach(row, run, run.textLength - at - 1))
            return 0;
    }
    return lanesAtLeast(row, run);
}

#if defined(__x86_64__)
__attribute__((target("avx2,popcnt"))) unsigned lanesReachingAvx2(const LaneRun& run) {
    __m256i low = _mm256_set1_epi64x(-1);
    __m256i high = low;
    const long long* masks = reinterpret_cast<const long long*>(run.maskOfClass);
    for (int at = 0; at < run.textLength; ++at) {
        const std::uint8_t* classes = run.rows + static_cast<size_t>(at) * laneCount;
        std::uint32_t lowBytes = 0;
        std::uint32_t highBytes = 0;
        std::memcpy(&lowBytes, classes, 4);
        std::memcpy(&highBytes, classes + 4, 4);
        const __m256i lowIndex =
            _mm256_cvtepu8_epi64(_mm_cvtsi32_si128(static_cast<int>(lowBytes)));
        const __m256i highIndex =
            _mm256_cvtepu8_epi64(_mm_cvtsi32_si128(static_cast<int>(highBytes)));
        const __m256i lowKept = _mm256_and_si256(low, _mm256_i64gather_epi64(masks, lowIndex, 8));
        const __m256i highKept =
            _mm256_and_si256(high, _mm256_i64gather_epi64(masks, highIndex, 8));
        low = _mm256_or_si256(_mm256_add_epi64(low, lowKept), _mm256_sub_epi64(low, lowKept));
        high = _mm256_or_si256(_mm256_add_epi64(high, highKept), _mm256_sub_epi64(high, highKept));
        if (timeToLook(run, at)) {
            std::uint64_t row[laneCount];
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row), low);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4), high);
            if (!anyLaneCanReach(row, run, run.textLength - at - 1))
                return 0;
        }
    }
    std::uint64_t row[laneCount];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row), low);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + 4), high);
    return lanesAtLeast(row, run);
}

// Bits set in each 64-bit lane, by looking up each half-byte.
__attribute__((target("avx512f,avx512bw"))) __m512i lanePopulations(__m512i words) {
    const __m512i halfByteCounts =
        _mm512_set4_epi32(0x04030302, 0x03020201, 0x03020201, 0x02010100);
    const __m512i lowHalves = _mm512_set1_epi8(0x0f);
    const __m512i counts = _mm512_add_epi8(
        _mm512_shuffle_epi8(halfByteCounts, _mm512_and_si512(words, lowHalves)),
        _mm512_shuffle_epi8(halfByteCounts, _mm512_and_si512(words >> 4, lowHalves)));
    return _mm512_sad_epu8(counts, _mm512_setzero_si512());
}

// The lanes whose matched length plus `remaining` reaches the needed length.
__attribute__((target("avx512f,avx512bw"))) unsigned lanesWithin(__m512i lanes, __m512i inPattern,
                                                                 int remaining, int needed) {
    const __m512i matched = lanePopulations(
        _mm512_and_si512(_mm512_xor_si512(lanes, _mm512_set1_epi64(-1)), inPattern));
    return _mm512_cmpge_epi64_mask(_mm512_add_epi64(matched, _mm512_set1_epi64(remaining)),
                                   _mm512_set1_epi64(needed));
}

// The whole class table fits in four registers, so each step looks its masks up with two
// permutes instead of a gather.
__attribute__((target("avx512f,avx512bw"))) unsigned lanesReachingAvx512(const LaneRun& run) {
    static_assert(LongestCommonSubsequenceBlocks::classes == 32);
    const __m512i first = _mm512_loadu_si512(run.maskOfClass);
    const __m512i second = _mm512_loadu_si512(run.maskOfClass + 8);
    const __m512i third = _mm512_loadu_si512(run.maskOfClass + 16);
    const __m512i fourth = _mm512_loadu_si512(run.maskOfClass + 24);
    const __m512i upperHalf = _mm512_set1_epi64(16);
    const __m512i inPattern = _mm512_set1_epi64(static_cast<long long>(run.inPattern));
    __m512i lanes = _mm512_set1_epi64(-1);
    for (int at = 0; at < run.textLength; ++at) {
        const __m512i index =
            _mm512_maskz_cvtepu8_epi64(0xff, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(
                                                 run.rows + static_cast<size_t>(at) * laneCount)));
        const __m512i low = _mm512_permutex2var_epi64(first, index, second);
        const __m512i high = _mm512_permutex2var_epi64(third, index, fourth);
        const __m512i match =
            _mm512_mask_blend_epi64(_mm512_test_epi64_mask(index, upperHalf), low, high);
        const __m512i kept = _mm512_and_si512(lanes, match);
        lanes = _mm512_or_si512(_mm512_add_epi64(lanes, kept), _mm512_sub_epi64(lanes, kept));
        if (timeToLook(run, at) &&
            lanesWithin(lanes, inPattern, run.textLength - at - 1, run.needed) == 0)
            return 0;
    }
    return lanesWithin(lanes, inPattern, 0, run.needed);
}
#endif

// One build runs on every x86-64: the vector form is chosen once, by what the processor
// has. Sixteen-byte registers would gain little over the plain form.
using LaneSearch = unsigned (*)(const LaneRun&);

LaneSearch widestLaneSearch() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        return lanesReachingAvx512;
    if (__builtin_cpu_supports("avx2"))
        return lanesReachingAvx2;
#endif
    return lanesReachingPlain;
}

} // namespace

LongestCommonSubsequenceBlocks::LongestCommonSubsequenceBlocks() : classOfCode_(65536, 0) {}

void LongestCommonSubsequenceBlocks::chooseClasses(const std::vector<std::u16string_view>& texts) {
    std::vector<long long> countOfCode(65536, 0);
    for (const std::u16string_view text : texts)
        for (const char16_t code : text)
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

void LongestCommonSubsequenceBlocks::setPattern(Pattern& pattern, std::u16string_view codes) const {
    std::fill(std::begin(pattern.maskOfClass), std::end(pattern.maskOfClass), 0);
    pattern.length = static_cast<int>(codes.size());
    for (size_t position = 0; position < codes.size(); ++position)
        pattern.maskOfClass[classOfCode_[codes[position]]] |= std::uint64_t{1} << position;
}

int LongestCommonSubsequenceBlocks::addBlock(const std::vector<std::u16string_view>& texts) {
    Block block{};
    block.firstByte = static_cast<std::uint32_t>(classes_.size());
    block.laneCount = static_cast<std::uint8_t>(texts.size());
    block.textLength = static_cast<std::uint8_t>(texts.empty() ? 0 : texts.front().size());
    // Empty lanes hold class 0 everywhere; their lengths are never reported.
    classes_.resize(classes_.size() + size_t{block.textLength} * laneCount, 0);
    for (size_t lane = 0; lane < texts.size(); ++lane)
        for (size_t position = 0; position < texts[lane].size(); ++position)
            classes_[block.firstByte + position * laneCount + lane] =
                classOfCode_[texts[lane][position]];
    blocks_.push_back(block);
    return static_cast<int>(blocks_.size()) - 1;
}

unsigned LongestCommonSubsequenceBlocks::lanesReaching(int blockNumber, const Pattern& pattern,
                                                       int needed) const {
    static const LaneSearch search = widestLaneSearch();
    const Block& block = blocks_[static_cast<size_t>(blockNumber)];
    const LaneRun run{pattern.maskOfClass, classes_.data() + block.firstByte, block.textLength,
                      pattern.length >= 64 ? ~std::uint64_t{0}
                                           : (std::uint64_t{1} << pattern.length) - 1,
                      needed};
    return search(run) & ((1u << block.laneCount) - 1);
}

} // namespace velmora
