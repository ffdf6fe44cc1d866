#include "MemoryTuning.h"

#include <cstdlib> // defines __GLIBC__ on the C library that has mallopt

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velmora {

void tuneMemoryForLargeLists() {
#if defined(__GLIBC__)
    constexpr int growthStep = 256 * 1024 * 1024;
    constexpr int keptWhenFreed = 1024 * 1024 * 1024;
    mallopt(M_TOP_PAD, growthStep);
    mallopt(M_TRIM_THRESHOLD, keptWhenFreed);
#endif
}

} // namespace velmora
