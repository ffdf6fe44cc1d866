#pragma once

class QWidget;

namespace velmora {

// The window a message, prompt or file dialog opens over: the one the user is working in.
// The program never shows its two windows together, so that is the visible one. The
// window system's active window alone is not enough: right after another dialog closes it
// may not have handed activation back yet, or may still name a window just hidden, and a
// box without a visible parent opens far from where the user looks.
QWidget* dialogParent();

} // namespace velmora
