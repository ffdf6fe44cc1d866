#pragma once

#include <QRect>

namespace velmora {

// Layouts are drawn in twips, 1440 to the inch, so they keep their proportions at any
// screen resolution.
constexpr int twipsToPixels(int twips, int dotsPerInch) {
    return twips * dotsPerInch / 1440;
}

inline QRect twipsRect(int left, int top, int width, int height, int dotsPerInchX,
                       int dotsPerInchY) {
    return QRect(twipsToPixels(left, dotsPerInchX), twipsToPixels(top, dotsPerInchY),
                 twipsToPixels(width, dotsPerInchX), twipsToPixels(height, dotsPerInchY));
}

} // namespace velmora
