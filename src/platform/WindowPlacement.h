#pragma once

class QWidget;

namespace velmora {

// Puts a window, frame and all, in the middle of the screen that holds the pointer (the
// primary screen when none does), so it opens where the user is looking rather than
// wherever the window manager chooses.
void centreOnPointerScreen(QWidget& window);

// Puts a window's top-left corner where another window's is, so one can take the other's
// place on screen. The inner corners are matched: the window system may not know a hidden
// window's frame, but both windows get the same frame.
void placeWhere(QWidget& window, const QWidget& other);

} // namespace velmora
