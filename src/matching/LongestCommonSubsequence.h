#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora {

// Length of the longest common subsequence of one fixed pattern with many texts, by the
// bit-parallel method: one machine word covers 64 positions of the pattern. Characters in
// common blocks also form a common subsequence, so this bounds the block count from above
// at a small fraction of its cost.
class LongestCommonSubsequence {
public:
    LongestCommonSubsequence();

    void setPattern(std::u16string_view pattern);
    int lengthWith(std::u16string_view text) const;

private:
    std::vector<std::uint16_t> slotOfCode_; // 0: the code is not in the pattern
    std::vector<std::uint64_t> masks_;      // one run of words per slot; slot 0 all clear
    std::vector<char16_t> patternCodes_;    // distinct codes set in slotOfCode_
    mutable std::vector<std::uint64_t> row_;
    int words_ = 0;
    int patternLength_ = 0;
};

} // namespace velmora
