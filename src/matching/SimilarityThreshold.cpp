#include "SimilarityThreshold.h"

namespace velmora {

double similarityScore(int matchedCharacters, int totalLength) {
    const double ratio =
        (static_cast<double>(matchedCharacters) / static_cast<double>(totalLength)) * 2;
    return ratio * 100;
}

bool scoreIsAlike(double score) {
    return score > 60;
}

int minimumMatchedCharacters(int totalLength) {
    if (totalLength <= 0)
        return 1;
    // Start a little below 0.3 of the length and step up: the double arithmetic decides.
    int matched = totalLength * 3 / 10 - 1;
    if (matched < 0)
        matched = 0;
    while (!scoreIsAlike(similarityScore(matched, totalLength)))
        ++matched;
    return matched;
}

} // namespace velmora
