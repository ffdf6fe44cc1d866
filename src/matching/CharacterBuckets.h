#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora {

// Character counts in 32 buckets. Counting several characters in one bucket can only
// raise the sum of the smaller counts, so that sum still bounds the matched characters
// from above. Counts stop at 255, so the bound is used only for names up to that length.
struct alignas(16) BucketCounts {
    std::uint8_t counts[32];
};

constexpr int longestCountedName = 255;

inline int bucketOf(char16_t code) {
    if (code >= u'A' && code <= u'Z')
        return code - u'A';
    if (code >= u'0' && code <= u'9')
        return 26 + (code - u'0') % 3;
    if (code == u'.')
        return 29;
    if (code == u'_' || code == u'-' || code == u' ')
        return 30;
    return static_cast<int>((static_cast<std::uint32_t>(code) * 2654435761u) >> 27);
}

inline BucketCounts countBuckets(std::u16string_view codes) {
    BucketCounts counts{};
    for (const char16_t code : codes) {
        std::uint8_t& count = counts.counts[bucketOf(code)];
        if (count < 255)
            ++count;
    }
    return counts;
}

// The sum over the buckets of the smaller of the two counts.
inline int sharedCount(const BucketCounts& a, const BucketCounts& b) {
#if defined(__SSE2__)
    const __m128i* left = reinterpret_cast<const __m128i*>(a.counts);
    const __m128i* right = reinterpret_cast<const __m128i*>(b.counts);
    const __m128i low = _mm_min_epu8(_mm_load_si128(left), _mm_load_si128(right));
    const __m128i high = _mm_min_epu8(_mm_load_si128(left + 1), _mm_load_si128(right + 1));
    const __m128i sums = _mm_add_epi64(_mm_sad_epu8(low, _mm_setzero_si128()),
                                       _mm_sad_epu8(high, _mm_setzero_si128()));
    return _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
#else
    int shared = 0;
    for (int bucket = 0; bucket < 32; ++bucket)
        shared += std::min(a.counts[bucket], b.counts[bucket]);
    return shared;
#endif
}

} // namespace velmora
