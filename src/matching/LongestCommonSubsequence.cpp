#include "LongestCommonSubsequence.h"

#include <bit>

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
            const std::uint64_t sum = row + kept + carry;
            carry = (sum < row || (carry != 0 && sum == row)) ? 1 : 0;
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

} // namespace velmora
