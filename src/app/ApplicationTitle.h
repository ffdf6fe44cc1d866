#pragma once

#include <QString>

namespace velmora {

// The short title used on every message box and prompt that has none of its own: the
// product title loses its last blank and what follows, at least once and again while it
// is longer than 40 characters. A title without a blank has nothing to lose and stays.
QString MakeApplicationTitle(const QString& productTitle);

} // namespace velmora
