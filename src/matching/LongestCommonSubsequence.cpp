#include "LongestCommonSubsequence.h"

#include <bit>
#include <cstring>

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
    const std::uint64_t* maskOfBucket;
    const std::uint8_t* rows; // `laneCount` buckets per text position
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
        const std::uint8_t* buckets = run.rows + static_cast<size_t>(at) * laneCount;
        for (int lane = 0; lane < laneCount; ++lane) {
            const std::uint64_t kept = row[lane] & run.maskOfBucket[buckets[lane]];
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
    const long long* masks = reinterpret_cast<const long long*>(run.maskOfBucket);
    for (int at = 0; at < run.textLength; ++at) {
        const std::uint8_t* buckets = run.rows + static_cast<size_t>(at) * laneCount;
        std::uint32_t lowBytes = 0;
        std::uint32_t highBytes = 0;
        std::memcpy(&lowBytes, buckets, 4);
        std::memcpy(&highBytes, buckets + 4, 4);
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

#endif

// One build runs on every x86-64: the vector form is chosen once, by what the processor
// has. Sixteen-byte registers would gain little over the plain form, and 64-byte gathers
// measured slower than two 32-byte ones where tried, so those two forms are all there is.
using LaneSearch = unsigned (*)(const LaneRun&);

LaneSearch widestLaneSearch() {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return lanesReachingAvx2;
#endif
    return lanesReachingPlain;
}

} // namespace

std::uint8_t LongestCommonSubsequenceBlocks::bucketOf(char16_t code) {
    if (code < 192)
        return static_cast<std::uint8_t>(code);
    return static_cast<std::uint8_t>(192 +
                                     ((static_cast<std::uint32_t>(code) * 2654435761u) >> 26));
}

void LongestCommonSubsequenceBlocks::Pattern::set(std::u16string_view pattern) {
    for (int position = 0; position < length; ++position)
        maskOfBucket[bucket_[position]] = 0;
    length = static_cast<int>(pattern.size());
    for (int position = 0; position < length; ++position) {
        bucket_[position] = bucketOf(pattern[static_cast<size_t>(position)]);
        maskOfBucket[bucket_[position]] |= std::uint64_t{1} << position;
    }
}

int LongestCommonSubsequenceBlocks::addBlock(const std::vector<std::u16string_view>& texts) {
    Block block{};
    block.firstByte = static_cast<std::uint32_t>(buckets_.size());
    block.laneCount = static_cast<std::uint8_t>(texts.size());
    block.textLength = static_cast<std::uint8_t>(texts.empty() ? 0 : texts.front().size());
    // Empty lanes hold bucket 0 everywhere; their lengths are never reported.
    buckets_.resize(buckets_.size() + size_t{block.textLength} * laneCount, 0);
    for (size_t lane = 0; lane < texts.size(); ++lane)
        for (size_t position = 0; position < texts[lane].size(); ++position)
            buckets_[block.firstByte + position * laneCount + lane] =
                bucketOf(texts[lane][position]);
    blocks_.push_back(block);
    return static_cast<int>(blocks_.size()) - 1;
}

unsigned LongestCommonSubsequenceBlocks::lanesReaching(int blockNumber, const Pattern& pattern,
                                                       int needed) const {
    static const LaneSearch search = widestLaneSearch();
    const Block& block = blocks_[static_cast<size_t>(blockNumber)];
    const LaneRun run{pattern.maskOfBucket, buckets_.data() + block.firstByte, block.textLength,
                      pattern.length >= 64 ? ~std::uint64_t{0}
                                           : (std::uint64_t{1} << pattern.length) - 1,
                      needed};
    return search(run) & ((1u << block.laneCount) - 1);
}

} // namespace velmora
