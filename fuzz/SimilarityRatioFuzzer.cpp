// The fast ratio against the literal one, which examines every pair of positions: any
// shortcut of the fast one (bounds, early stops, the equal-names test) that changes a
// result shows up here.
#include "FuzzInput.h"
#include "ReferenceRatio.h"
#include "SimilarFilename.h"

#include <cstddef>
#include <cstdint>

using velmora::fuzzing::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const bool rawUnits = (input.takeByte() & 1) != 0;
    // The reference is cubic; names longer than this only slow the search for faults.
    const QStringList names = input.takeTexts(2, 64, rawUnits);
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
    return 0;
}
