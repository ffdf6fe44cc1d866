// The fast ratio against the literal one, which examines every pair of positions: any
// shortcut of the fast one (bounds, early stops, the equal-names test) that changes a
// result shows up here.
#include "FuzzInput.h"
#include "LongestCommonSubsequence.h"
#include "ReferenceRatio.h"
#include "SimilarFilename.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using velmora::fuzzing::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t settings = input.takeByte();
    const bool rawUnits = (settings & 1) != 0;
    // Repeating each name reaches the lengths where the longest block is found another way
    // (both sides 128 or more) without inputs that long.
    const int firstRepeats = 1 + ((settings >> 1) & 7);
    const int secondRepeats = 1 + ((settings >> 4) & 7);
    // The reference is cubic; names longer than this only slow the search for faults.
    QStringList names = input.takeTexts(2, 64, rawUnits);
    while (names.size() < 2)
        names << QString();
    names[0] = names[0].repeated(firstRepeats).left(200);
    names[1] = names[1].repeated(secondRepeats).left(200);
    if (firstRepeats > 1 && names[0].size() > 2)
        names[0][names[0].size() / 2] = u'#';
    const QString first = names.value(0);
    const QString second = names.value(1);

    const double fast = velmora::SimilarityRatio(first, second);
    const double literal = velmora::reference::SimilarityRatio(first, second);
    VELMORA_FUZZ_EXPECT(fast == literal, names);
    VELMORA_FUZZ_EXPECT(fast >= 0 && fast <= 1, names);

    const std::u16string codesA = velmora::similarityCodes(first);
    const std::u16string codesB = velmora::similarityCodes(second);
    VELMORA_FUZZ_EXPECT(codesA.size() == static_cast<std::size_t>(first.size()), names);
    const int matched = velmora::CountMatchingCharacters(codesA, codesB);
    VELMORA_FUZZ_EXPECT(
        matched >= 0 && matched <= static_cast<int>(std::min(codesA.size(), codesB.size())), names);
    // The early-stopping count must agree with the full count on both sides of it.
    for (const int needed : {0, 1, matched - 1, matched, matched + 1})
        VELMORA_FUZZ_EXPECT(
            velmora::matchingCharactersReach(codesA, codesB, needed) == (matched >= needed), names);

    // The early-stopping subsequence bound agrees with the full length at any length.
    if (!codesA.empty()) {
        velmora::LongestCommonSubsequence whole;
        whole.setPattern(codesA);
        const int length = whole.lengthWith(codesB);
        VELMORA_FUZZ_EXPECT(whole.reaches(codesB, length) && !whole.reaches(codesB, length + 1),
                            names);
    }

    // A block of lanes at once against the one-pair subsequence, on the names cut to what the
    // lanes hold: equal where every code has a class of its own, never lower otherwise.
    constexpr size_t longestInLanes = velmora::LongestCommonSubsequenceBlocks::longestName;
    const std::u16string_view shortA = std::u16string_view(codesA).substr(0, longestInLanes);
    const std::u16string_view shortB = std::u16string_view(codesB).substr(0, longestInLanes);
    if (!shortA.empty() && !shortB.empty()) {
        velmora::LongestCommonSubsequence single;
        single.setPattern(shortA);
        const int expected = single.lengthWith(shortB);
        VELMORA_FUZZ_EXPECT(
            single.reaches(shortB, expected) && !single.reaches(shortB, expected + 1), names);
        velmora::LongestCommonSubsequenceBlocks blocks;
        blocks.chooseClasses({shortA, shortB});
        velmora::LongestCommonSubsequenceBlocks::Text text;
        blocks.setText(text, shortA);
        const int block = blocks.addBlock(std::vector<std::u16string_view>(
            velmora::LongestCommonSubsequenceBlocks::lanes, shortB));
        VELMORA_FUZZ_EXPECT(blocks.lanesReaching(block, text, expected) == 0xffffu, names);
        const velmora::LongestCommonSubsequenceBlocks::Text* texts[] = {&text, &text, &text};
        unsigned together[3];
        blocks.lanesReaching(block, texts, 3, expected, together);
        VELMORA_FUZZ_EXPECT(together[0] == 0xffffu && together[2] == 0xffffu, names);
        // A summary lane holds all the names of its block at once, so it never falls below
        // any of them; the next block (the name reversed) has a lane of its own.
        const std::u16string reversed(shortB.rbegin(), shortB.rend());
        blocks.addBlock(std::vector<std::u16string_view>(3, reversed));
        const int summary = blocks.addSummaryBlock(block, 2);
        VELMORA_FUZZ_EXPECT((blocks.lanesReaching(summary, text, expected) & 1u) != 0, names);
        std::u16string distinct(shortA);
        distinct += shortB;
        std::sort(distinct.begin(), distinct.end());
        const bool ownClasses = std::unique(distinct.begin(), distinct.end()) - distinct.begin() <=
                                velmora::LongestCommonSubsequenceBlocks::classes - 1;
        if (ownClasses)
            VELMORA_FUZZ_EXPECT(blocks.lanesReaching(block, text, expected + 1) == 0, names);
    }
    return 0;
}
