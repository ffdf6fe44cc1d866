#include "DragScroll.h"

namespace velmora {

std::optional<int> dragScrollTarget(int pointerY, int viewportHeight, int bandHeight,
                                    int hitPosition, int count) {
    if (hitPosition < 1 || hitPosition > count)
        return std::nullopt;
    if (pointerY < bandHeight && hitPosition >= 2)
        return hitPosition - 1;
    if (pointerY >= viewportHeight - bandHeight && hitPosition + 1 <= count)
        return hitPosition + 1;
    return std::nullopt;
}

} // namespace velmora
