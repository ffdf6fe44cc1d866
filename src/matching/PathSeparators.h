#pragma once

#include "PathStyle.h"

#include <QString>

namespace velmora {

// Cleans a path built by joining a folder and a name: every doubled separator becomes one
// in a single left-to-right pass (three in a row become two), and a leading run of
// separators becomes exactly two (Windows, so UNC paths keep their prefix) or exactly one
// (Posix).
QString NormalizePathSeparators(const QString& path, PathStyle style);

} // namespace velmora
