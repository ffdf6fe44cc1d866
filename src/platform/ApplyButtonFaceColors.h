#pragma once

class QColor;
class QWidget;

namespace velmora {

// Gives a window the system's button-face background, together with the controls on it
// that would otherwise keep a background of their own: check boxes, option buttons,
// frames and labels. Every other control keeps its colours.
void ApplyButtonFaceColors(QWidget& window);

// Fills the background of the window's check boxes, option buttons, frames and labels.
void fillPlainControlBackgrounds(QWidget& window, const QColor& colour);

} // namespace velmora
