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

// A skin may give the controls a background without a text colour that reads on it; each
// caption whose colours fall below a readable contrast gets black or white text instead.
// Run once the skin and every control's own style sheet are in place.
void keepCaptionsReadable(QWidget& window);

} // namespace velmora
