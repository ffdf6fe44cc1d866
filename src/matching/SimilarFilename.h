#pragma once

#include <QString>

#include <string_view>

namespace velmora {

// How alike two file names are, from 0 to 1: 1 when they are equal apart from case,
// otherwise twice the characters in common blocks over the total length. The first name's
// blocks win ties, so exchanging the names can change the result.
double SimilarityRatio(const QString& first, const QString& second);

// The codes the ratio compares: each 16-bit unit upper-cased on its own.
std::u16string similarityCodes(QStringView name);

// The characters in common blocks: the longest common block (ties to the smallest start
// in the first sequence, then in the second), plus the same count to its right and to its
// left, recursively.
int CountMatchingCharacters(std::u16string_view first, std::u16string_view second);

// Whether the count reaches `needed`; stops as soon as the answer is known, which is
// usually long before the whole count is done.
bool matchingCharactersReach(std::u16string_view first, std::u16string_view second, int needed);

} // namespace velmora
