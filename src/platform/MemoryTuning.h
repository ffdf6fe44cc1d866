#pragma once

namespace velmora {

// A list of a million paths is a million small strings: growing the heap in large steps
// and keeping freed memory saves the program most of its page faults.
void tuneMemoryForLargeLists();

} // namespace velmora
