#pragma once

class QWidget;

namespace velmora {

// Gives a window the system's button-face background, together with the controls on it
// that would otherwise keep a background of their own: check boxes, option buttons,
// frames and labels. Every other control keeps its colours.
void ApplyButtonFaceColors(QWidget& window);

} // namespace velmora
