#pragma once

class QString;
class QWidget;

namespace velmora {

// Without a skin the option frame and its check boxes stand out in white.
void applyPlainLook(QWidget& window);

// The skinned look: the window and its frames, check boxes, option buttons and labels
// take the button-face colour, and the skin file is applied as a style sheet. Throws
// when the file cannot be read.
void applySkin(QWidget& window, const QString& skinFile);

} // namespace velmora
