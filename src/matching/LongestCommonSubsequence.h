#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
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
    // Whether the length with `text` is at least `needed`. Stops as soon as the answer is
    // known: the length found so far only grows, by at most one per character to come.
    bool reaches(std::u16string_view text, int needed) const;

    // What the bounds are computed from; public only for the forms of `reaches`.
    struct Masks {
        const std::uint16_t* slotOfCode;
        const std::uint64_t* masks;
        int patternLength;
    };

private:
    std::vector<std::uint16_t> slotOfCode_; // 0: the code is not in the pattern
    std::vector<std::uint64_t> masks_;      // one run of words per slot; slot 0 all clear
    std::vector<char16_t> patternCodes_;    // distinct codes set in slotOfCode_
    mutable std::vector<std::uint64_t> row_;
    int words_ = 0;
    int patternLength_ = 0;
    bool processorCounts_ = false; // the processor has its own bit count instruction
};

// Short names sixteen to a block, one lane each, so that one pass bounds sixteen pairs at
// once: the lanes hold the block's names as bit patterns, one 64-bit word per 64
// characters, and one other name of at most 128 characters is run through all of them a
// character at a time. In a lane of two words the carry of the low word's sum goes on
// into the high word, as the plain form's does from word to word. Because every
// lane reads the masks of the same character, a step is one load of a row of masks, with
// no per-lane look-up. Several texts of one length can go through a block together: each
// step is a short chain of dependent operations, and chains side by side keep the
// processor busy where one would leave it waiting. Where the processor counts the bits of
// vector lanes itself, the last word of a lane is 32 bits where the name leaves room, so
// that a block's sixteen such words fill one register.
//
// Characters are compared by class: the 31 commonest codes of the names each have a class
// of their own, all others share the one left. Codes in one class count as equal, so a
// length found can only be too high, never too low, and stays a bound for the block count.
class LongestCommonSubsequenceBlocks {
public:
    static constexpr int lanes = 16;
    static constexpr int longestName = 128;
    static constexpr int classes = 32;

    LongestCommonSubsequenceBlocks();
    ~LongestCommonSubsequenceBlocks();
    LongestCommonSubsequenceBlocks(LongestCommonSubsequenceBlocks&&) = default;
    LongestCommonSubsequenceBlocks(const LongestCommonSubsequenceBlocks&) = delete;
    LongestCommonSubsequenceBlocks& operator=(const LongestCommonSubsequenceBlocks&) = delete;

    // Gives the commonest codes of `names` their classes; before any block is added.
    void chooseClasses(const std::vector<std::u16string_view>& names);
    // Takes the classes of another set of blocks, so that the same texts run with both.
    void useClassesOf(const LongestCommonSubsequenceBlocks& other) {
        classOfCode_ = other.classOfCode_;
    }

    // Adds a block of one to sixteen names of one length, at most longestName; returns its
    // number. The lanes follow the order of `names`. A block's masks are made the first
    // time it runs (many never do: a scan that finds an alike name stops), so the names
    // must stay in place until then.
    int addBlock(const std::vector<std::u16string_view>& names);
    // Adds a block whose lane i stands for all the names of block `firstBlock + i`, for
    // `count` (at most sixteen) blocks of one length: its masks are those of the names
    // together, so a lane that does not reach a length rules out its whole block. Where
    // the names of a list's neighbouring blocks are much alike, as in a sorted folder,
    // one run of such a block spares the runs of most of its sixteen.
    int addSummaryBlock(int firstBlock, int count);

    // One name of at most longestName characters, as the classes the blocks are run with.
    struct Text {
        std::uint8_t classOf[longestName] = {};
        int length = 0;
    };
    void setText(Text& text, std::u16string_view codes) const;

    // The lanes of the block whose subsequence with the text is at least `needed`, as
    // bits (lane 0 is bit 0). Stops as soon as no lane can get there with the
    // characters still to come.
    unsigned lanesReaching(int block, const Text& text, int needed) const;
    // The same for one to textsAtOnce texts of one length at once, into reaching[0] and on.
    static constexpr int textsAtOnce = 4;
    void lanesReaching(int block, const Text* const* texts, int count, int needed,
                       unsigned* reaching) const;

    // The widest form the processor runs is used unless another is asked for; every form
    // gives the same lengths. Not while blocks run on other threads. Returns false, changing
    // nothing, where the processor lacks it.
    enum class Form { Plain, Avx2, Avx512, Avx512WithBitCount };
    bool useForm(Form form);

    // What a run of a block gives; public only for the vector forms.
    struct Reaching {
        unsigned reaching[textsAtOnce] = {};
    };

private:
    // Per block, `classes` rows of `lanes` masks, each row on a cache line boundary: bit i
    // of a lane's mask is set where its name holds the class at position i. Packed blocks
    // (names of up to 32 characters, or 65 to 96, in the form that counts the bits of
    // vector lanes itself) hold 32-bit masks in place of the last word's.
    struct alignas(64) MaskRow {
        std::uint64_t lane[lanes];
    };
    // Names longer than one word hold two rows per class, the low words' first.
    struct Block {
        std::uint32_t firstName = 0; // in names_
        std::int32_t summaryOf = -1; // the first block a summary stands for
        std::uint8_t nameLength = 0;
        std::uint8_t laneCount = 0;
        int words() const { return nameLength > 64 ? 2 : 1; }
    };
    const MaskRow* rowsOf(int block) const;
    Reaching runBlock(int block, const std::uint8_t* const* texts, int count, int textLength,
                      int needed) const;

    std::vector<std::uint8_t> classOfCode_;
    std::vector<Block> blocks_;
    std::vector<std::u16string_view> names_;
    // Per block, its masks once made, by the first run that needs them. Runs on other
    // threads may race to make them; the first to finish is kept (see rowsOf).
    mutable std::vector<const MaskRow*> rows_;
    Form form_;
};

} // namespace velmora
