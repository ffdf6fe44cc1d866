#pragma once

#include "PathStyle.h"

#include <QtGlobal>

namespace velmora {

// The longest folder path and folder name the walk goes into, exclusive: Windows paths
// keep their historic limit, paths here the platform's (PATH_MAX), so deep trees are
// walked whole.
constexpr qsizetype pathLimitOf(PathStyle style) {
    return style == PathStyle::Windows ? 260 : 4096;
}

} // namespace velmora
