#pragma once

#include <QColor>

namespace velmora {

// How far apart two colours are to the eye, from 1 (the same) to 21 (black and white), as
// the web's accessibility guidelines measure it; body text wants at least 4.5.
double contrastRatio(const QColor& one, const QColor& other);

// `preferred` when it reads well on `background`, else black or white, whichever reads better.
QColor readableTextOn(const QColor& background, const QColor& preferred);

} // namespace velmora
