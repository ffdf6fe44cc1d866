#pragma once

namespace velmora {

// Two names are alike when their similarity score (ratio times 100) is greater than 60.
// The score is computed exactly as the ratio is, in double precision, so that boundary
// cases such as 3 matched characters out of 10 (exactly 60) come out the same.
double similarityScore(int matchedCharacters, int totalLength);
bool scoreIsAlike(double score);

// The fewest matched characters that make two names of this total length alike; the
// score only grows with the count, so any bound on the count below this rules a pair out.
int minimumMatchedCharacters(int totalLength);

} // namespace velmora
