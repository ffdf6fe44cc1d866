#pragma once

#include <optional>

namespace velmora {

// Which entry to bring into view after a drag exchange, so the list scrolls while the
// pointer is held near its top or bottom edge.
//
// The window this list first lived in tested the pointer against fixed screen rows that
// happened to lie just inside the list's top and bottom. Here the same idea is tied to the
// list itself: a band `bandHeight` pixels tall (one row) at the top and at the bottom of
// the viewport, so it works wherever the window is and whatever the screen resolution.
//
// `pointerY` is in viewport coordinates; positions are 1-based. The result never leaves
// 1..count: no scrolling above the first entry or below the last.
std::optional<int> dragScrollTarget(int pointerY, int viewportHeight, int bandHeight,
                                    int hitPosition, int count);

} // namespace velmora
