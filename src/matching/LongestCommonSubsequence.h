#pragma once

#include <cstddef>
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

// Short names eight to a block, one 64-bit lane each, so that one pass bounds eight pairs
// at once: the lanes hold eight texts, a character at a time, against one pattern of at
// most 64 characters. Characters are compared by class: the 31 commonest codes of the
// texts each have a class of their own, all others share the one left. Codes in one class
// count as equal, so a length found can only be too high, never too low, and stays a
// bound for the block count.
class LongestCommonSubsequenceBlocks {
public:
    static constexpr int lanes = 8;
    static constexpr int longestName = 64;
    static constexpr int classes = 32;

    LongestCommonSubsequenceBlocks();

    // Gives the commonest codes of `texts` their classes; before any block is added.
    void chooseClasses(const std::vector<std::u16string_view>& texts);

    // Adds a block of one to eight texts of one length, at most longestName; returns its
    // number. The lanes follow the order of `texts`.
    int addBlock(const std::vector<std::u16string_view>& texts);

    // Where each class stands in one pattern of at most longestName characters.
    struct Pattern {
        std::uint64_t maskOfClass[classes] = {};
        int length = 0;
    };
    void setPattern(Pattern& pattern, std::u16string_view codes) const;

    // The lanes of the block whose subsequence with the pattern is at least `needed`, as
    // bits (lane 0 is bit 0). Stops as soon as no lane can get there with the
    // characters still to come.
    unsigned lanesReaching(int block, const Pattern& pattern, int needed) const;

private:
    struct Block {
        std::uint32_t firstByte; // the texts' classes, a row of `lanes` bytes per position
        std::uint8_t textLength;
        std::uint8_t laneCount;
    };
    std::vector<std::uint8_t> classOfCode_;
    std::vector<Block> blocks_;
    std::vector<std::uint8_t> classes_;
};

} // namespace velmora
