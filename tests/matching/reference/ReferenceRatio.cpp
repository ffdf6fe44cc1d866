#include "ReferenceRatio.h"

#include <vector>

namespace velmora::reference {

namespace {
// Index 0 unused, so positions read as written: 1 to the length.
std::vector<char16_t> firstCodes;
std::vector<char16_t> secondCodes;

std::vector<char16_t> codesOf(const QString& name) {
    std::vector<char16_t> codes(static_cast<size_t>(name.size()) + 1, 0);
    for (int i = 1; i <= name.size(); ++i)
        codes[static_cast<size_t>(i)] = name.mid(i - 1, 1).at(0).toUpper().unicode();
    return codes;
}
} // namespace

int CountMatchingCharacters(int start1, int end1, int start2, int end2) {
    if (start1 > end1 || start2 > end2 || start1 < 1 || start2 < 1)
        return 0;
    int bestLength = 0;
    int bestStart1 = 0;
    int bestStart2 = 0;
    for (int i = start1; i <= end1; ++i) {
        for (int j = start2; j <= end2; ++j) {
            int k = 0;
            while (firstCodes[static_cast<size_t>(i + k)] ==
                   secondCodes[static_cast<size_t>(j + k)]) {
                ++k;
                if (k > bestLength) {
                    bestLength = k;
                    bestStart1 = i;
                    bestStart2 = j;
                }
                if (i + k > end1 || j + k > end2)
                    break;
            }
        }
    }
    if (bestLength == 0)
        return 0;
    const int right =
        CountMatchingCharacters(bestStart1 + bestLength, end1, bestStart2 + bestLength, end2);
    const int left = CountMatchingCharacters(start1, bestStart1 - 1, start2, bestStart2 - 1);
    return bestLength + right + left;
}

double SimilarityRatio(const QString& first, const QString& second) {
    if (first.toUpper() == second.toUpper())
        return 1;
    const int lengthA = static_cast<int>(first.size());
    const int lengthB = static_cast<int>(second.size());
    if (lengthA == 0 || lengthB == 0)
        return 0;
    firstCodes = codesOf(first);
    secondCodes = codesOf(second);
    const int matched = CountMatchingCharacters(1, lengthA, 1, lengthB);
    firstCodes.clear();
    secondCodes.clear();
    return (static_cast<double>(matched) / (lengthA + lengthB)) * 2;
}

} // namespace velmora::reference
