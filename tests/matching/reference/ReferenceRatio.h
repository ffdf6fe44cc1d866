#pragma once

#include <QString>

namespace velmora::reference {

// The similarity ratio exactly as described, step by step: both code sequences held for
// the call, every pair of positions of every level examined and extended. Slow on
// purpose; the fast one is checked against it.
double SimilarityRatio(const QString& first, const QString& second);

// Positions are 1-based and refer to the sequences of the SimilarityRatio call under way;
// exposed so a test can call it between building and releasing them.
int CountMatchingCharacters(int start1, int end1, int start2, int end2);

} // namespace velmora::reference
