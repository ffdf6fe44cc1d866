#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzzing {

void fail(const char* what, const QStringList& texts) {
    std::fprintf(stderr, "broken: %s\n", what);
    for (const QString& text : texts) {
        std::fprintf(stderr, "  text (%lld units):", static_cast<long long>(text.size()));
        for (const QChar unit : text)
            std::fprintf(stderr, " %04x", unit.unicode());
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

} // namespace velmora::fuzzing
